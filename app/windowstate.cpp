#include "app/windowstate.h"

#include "link/portcontroller.h"
#include "prt/prtopener.h"

#include <utility>

namespace velmora {

Allowed windowAllows(const WindowFacts &facts)
{
    const JobControls &job = facts.job;
    const bool settings = facts.panel == Panel::Settings || facts.panel == Panel::FormatEditor;
    const bool free = facts.panel == Panel::None;
    const bool main = !settings;
    Allowed a;
    a.set(Intent::FileMenu, free && job.fileMenu);
    a.set(Intent::OpenRoll, free && job.fileMenu);
    a.set(Intent::Exit, free && job.exit);
    a.set(Intent::ShowSettings, free && job.settingsMenu);
    a.set(Intent::ShowTools, free && job.testMenu);
    // The job history and velmora.ini touch neither the port nor the roll:
    // open at any time, also during a job and over a panel.
    a.set(Intent::ExtrasMenu, true);
    a.set(Intent::ShowHistory, true);
    a.set(Intent::EditExtras, true);
    a.set(Intent::MainControls, main);
    a.set(Intent::OpenPort, main && job.openPort);
    a.set(Intent::Start, main && job.start && facts.portOpen && facts.rollLoaded);
    a.set(Intent::Pause, main && job.pause);
    a.set(Intent::Resume, main && job.resume);
    a.set(Intent::PunchOne, main && job.singlePunch);
    a.set(Intent::Stop, main && job.stop);
    a.set(Intent::AnswerStop, main && job.stopQuestion);
    a.set(Intent::ChooseNextNote, main);
    a.set(Intent::ChangeSettings, settings);
    a.set(Intent::ChooseFormat, facts.panel == Panel::Settings);
    a.set(Intent::OpenFormatEditor, facts.panel == Panel::Settings);
    a.set(Intent::EditFormat, facts.panel == Panel::FormatEditor);
    a.set(Intent::LeaveSettings, facts.panel == Panel::Settings);
    a.set(Intent::ToolCommands, facts.panel == Panel::Tools);
    a.set(Intent::LeaveTools, facts.panel == Panel::Tools);
    return a;
}

WindowState::WindowState(const PunchJob &job, PortController &port, const PrtOpener &opener,
                         QObject *parent)
    : QObject(parent), m_job(job), m_port(port), m_opener(opener)
{
    connect(&job, &PunchJob::controlsChanged, this, &WindowState::allowedChanged);
    connect(&port, &PortController::portStateChanged, this, &WindowState::allowedChanged);
    connect(&opener, &PrtOpener::rollChanged, this, &WindowState::allowedChanged);
}

WindowFacts WindowState::facts() const
{
    return {m_job.controls(), m_panel, m_port.portOpen(), m_opener.fileLoaded()};
}

void WindowState::showSettings()
{
    if (!allows(Intent::ShowSettings))
        return;
    m_port.closePort();
    setPanel(Panel::Settings);
}

// The port opens with the choices as they now stand, whether or not one
// changed; the panel goes once the port has had its say.
void WindowState::leaveSettings()
{
    if (!allows(Intent::LeaveSettings))
        return;
    m_port.openPort();
    setPanel(Panel::None);
}

void WindowState::openFormatEditor()
{
    if (allows(Intent::OpenFormatEditor))
        setPanel(Panel::FormatEditor);
}

void WindowState::closeFormatEditor()
{
    if (allows(Intent::EditFormat))
        setPanel(Panel::Settings);
}

void WindowState::showTools()
{
    if (!allows(Intent::ShowTools))
        return;
    if (!m_port.portOpen())
        m_port.openPort();
    setPanel(Panel::Tools);
}

void WindowState::leaveTools()
{
    if (allows(Intent::LeaveTools))
        setPanel(Panel::None);
}

void WindowState::setPanel(Panel panel)
{
    const Panel was = std::exchange(m_panel, panel);
    const auto settingsIn = [](Panel p) {
        return p == Panel::Settings || p == Panel::FormatEditor;
    };
    if (settingsIn(was) != settingsIn(panel))
        emit settingsPanelShown(settingsIn(panel));
    if ((was == Panel::FormatEditor) != (panel == Panel::FormatEditor))
        emit formatEditorShown(panel == Panel::FormatEditor);
    if ((was == Panel::Tools) != (panel == Panel::Tools))
        emit toolsPanelShown(panel == Panel::Tools);
    emit allowedChanged();
}

} // namespace velmora
