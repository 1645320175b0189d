#pragma once

#include "tools/toolcommands.h"
#include "widgetkit/windowmenus.h"

#include <QObject>

#include <functional>

class QLineEdit;
class QPushButton;
class QWidget;

namespace velmora {

class LinkSender;
class PortController;
class ToolsPanel;

// The tools panel in the window: showing it from the Tools menu and leaving
// it, the nine command buttons, which send their lines through the link, and
// the checks of the five number entries, which colour them and enable their
// buttons.
//
// The buttons that send need the port: all nine are disabled whenever the
// port closes or is lost, and the next successful opening enables those whose
// entries hold valid numbers. A click never sends on a closed port.
class ToolsPresenter : public QObject
{
    Q_OBJECT
public:
    // focusTaker takes the keyboard focus from a clicked tool button.
    // showPanel shows or hides the panel, with the preview moved beside it.
    // exitButton (cmdExit) and the menus are disabled while the panel is
    // shown.
    ToolsPresenter(PortController &port, LinkSender &sender, ToolsPanel &panel, QWidget &focusTaker,
                   QPushButton &exitButton, const WindowMenus &menus,
                   std::function<void(bool)> showPanel, QObject *parent = nullptr);

    // The Tools menu: opens the port when it is closed, shows the panel, puts
    // "50" into the empty step entries, and disables Exit and the menus.
    void showPanel();
    // The panel's Exit: hides the panel and enables Exit and the menus. The
    // port stays open.
    void leavePanel();
    // toolsPanelShown: the panel is shown.
    bool panelShown() const { return m_shown; }

    // After every successful opening of the port: the buttons whose entries
    // are valid, and those that read no entry, are enabled.
    void enableToolButtons();
    // The port closed or was lost: no button may send.
    void disableToolButtons();

    // A command button: the focus moves away from it, then its line is sent.
    void sendCommand(ToolButton button);

    ToolEntries entries() const;

signals:
    // The panel was shown or left: the menus and Exit are to be set again.
    void panelShownChanged(bool shown);

private:
    void checkStepEntry(QLineEdit *entry, std::initializer_list<QPushButton *> buttons);
    void checkCommandEntry(QLineEdit *entry, QLineEdit *other);
    QList<QPushButton *> commandButtons() const;

    PortController &m_port;
    LinkSender &m_sender;
    ToolsPanel &m_panel;
    QWidget &m_focusTaker;
    QPushButton &m_exitButton;
    WindowMenus m_menus;
    std::function<void(bool)> m_showPanel;
    bool m_shown = false;
};

} // namespace velmora
