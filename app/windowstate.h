#pragma once

#include "common/intent.h"
#include "job/punchjob.h"

#include <QObject>

namespace velmora {

class PortController;
class PrtOpener;

// What lies over the window's main controls. The user format editor lies in
// the settings panel.
enum class Panel
{
    None,
    Settings,
    FormatEditor,
    Tools,
};

// What the window's rules look at.
struct WindowFacts
{
    JobControls job; // what the job allows
    Panel panel = Panel::None;
    bool portOpen = false;
    bool rollLoaded = false;
};

// The window's rules: what it allows, from the facts alone.
// - The menus and Exit follow the job, and rest while a panel is shown; the
//   Extras menu is always open.
// - The main controls rest while the settings panel is shown; otherwise each
//   follows the job, and Start also needs the port open and a roll loaded.
// - A panel's controls act only while it is shown; the format list, "Edit
//   user format" and the settings panel's Exit rest while the editor is open.
Allowed windowAllows(const WindowFacts &facts);

// The window's own state, which panel is shown, and with the job, the port
// and the roll, what the window allows now: the one answer every presenter
// asks before it carries out an intent and the one value the controls show.
// It is never kept: allowed() derives it each time from the objects that own
// the facts.
//
// Showing and leaving the panels are its intents. The settings panel closes
// the port while it is shown and opens it again when left; the tools panel
// opens a closed port.
class WindowState : public QObject, public IntentGate
{
    Q_OBJECT
public:
    WindowState(const PunchJob &job, PortController &port, const PrtOpener &opener,
                QObject *parent = nullptr);

    Panel panel() const { return m_panel; }
    WindowFacts facts() const;
    Allowed allowed() const override { return windowAllows(facts()); }

    void showSettings();
    void leaveSettings();
    void openFormatEditor();
    void closeFormatEditor();
    void showTools();
    void leaveTools();

signals:
    // The settings panel (with or without the editor), the editor and the
    // tools panel came or went.
    void settingsPanelShown(bool shown);
    void formatEditorShown(bool shown);
    void toolsPanelShown(bool shown);
    // What the window allows may have changed.
    void allowedChanged();

private:
    void setPanel(Panel panel);

    const PunchJob &m_job;
    PortController &m_port;
    const PrtOpener &m_opener;
    Panel m_panel = Panel::None;
};

} // namespace velmora
