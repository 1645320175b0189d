#pragma once

#include "tools/toolcommands.h"

#include <QObject>

#include <functional>

class QLineEdit;
class QPushButton;
class QWidget;

namespace velmora {

class IntentGate;
class LinkSender;
class PortController;
class ToolsPanel;

// The tools panel in the window: shown and left as the window state says,
// the nine command buttons, which send their lines through the link while the
// panel is shown, and the checks of the five number entries, which colour
// them and enable their buttons.
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
    ToolsPresenter(PortController &port, LinkSender &sender, ToolsPanel &panel, QWidget &focusTaker,
                   const IntentGate &gate, std::function<void(bool)> showPanel,
                   QObject *parent = nullptr);

    // The panel came (the port is open by now if it could be opened) or went.
    // Coming, it puts "50" into the empty step entries.
    void setPanelShown(bool shown);

    // After every successful opening of the port: the buttons whose entries
    // are valid, and those that read no entry, are enabled.
    void enableToolButtons();
    // The port closed or was lost: no button may send.
    void disableToolButtons();

    // A command button, while the panel is shown: the focus moves away from
    // it, then its line is sent.
    void sendCommand(ToolButton button);

    ToolEntries entries() const;

private:
    void checkStepEntry(QLineEdit *entry, std::initializer_list<QPushButton *> buttons);
    void checkCommandEntry(QLineEdit *entry, QLineEdit *other);
    QList<QPushButton *> commandButtons() const;

    PortController &m_port;
    LinkSender &m_sender;
    ToolsPanel &m_panel;
    QWidget &m_focusTaker;
    const IntentGate &m_gate;
    std::function<void(bool)> m_showPanel;
};

} // namespace velmora
