#pragma once

#include "common/intent.h"

#include <QList>
#include <QObject>

#include <optional>

class MainWindow;
class QAction;
class QWidget;

namespace velmora {

class WindowState;

// The window as a whole: the controls that show and leave the panels go to
// the window state's intents, and every control and menu entry that the
// window enables and disables follows what it allows. A menu's entries are
// disabled with their menu, so that none can be triggered from a closed one.
//
// A new control or menu entry that the window allows or refuses is one row
// of the tables in the constructor, beside its intent.
class WindowPresenter : public QObject
{
    Q_OBJECT
public:
    WindowPresenter(WindowState &state, MainWindow &window);

    // Enables, disables, shows and hides as the window allows now.
    void applyAllowed();

private:
    struct ActionRow
    {
        Intent intent;
        QAction *action;
        std::optional<Intent> menu; // the menu it lies in, if that can be disabled
    };
    struct WidgetRow
    {
        Intent intent;
        QWidget *widget;
    };

    const WindowState &m_state;
    QWidget *m_stopQuestion;
    QList<ActionRow> m_actions;
    QList<WidgetRow> m_widgets;
};

} // namespace velmora
