#include "app/windowpresenter.h"

#include "app/mainwindow.h"
#include "app/windowstate.h"
#include "format/formateditor.h"
#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"
#include "tools/toolspanel.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>

namespace velmora {

WindowPresenter::WindowPresenter(WindowState &state, MainWindow &window)
    : QObject(&window), m_state(state), m_stopQuestion(window.controlsPanel()->picStop)
{
    JobControlsPanel *controls = window.controlsPanel();
    SettingsPanel *settings = window.settingsPanel();
    ToolsPanel *tools = window.toolsPanel();

    connect(window.mnuSet(), &QAction::triggered, &state, &WindowState::showSettings);
    connect(settings->cmdSettingsExit, &QPushButton::clicked, &state, &WindowState::leaveSettings);
    connect(settings->cmdFormat, &QPushButton::clicked, &state, &WindowState::openFormatEditor);
    connect(settings->frmNewFormat->cmdNewFormatOK, &QPushButton::clicked, &state,
            &WindowState::closeFormatEditor);
    connect(window.mnuTest(), &QAction::triggered, &state, &WindowState::showTools);
    connect(tools->cmdToolsExit, &QPushButton::clicked, &state, &WindowState::leaveTools);

    m_actions = {
        {Intent::FileMenu, window.mnuFile()->menuAction(), std::nullopt},
        {Intent::OpenRoll, window.mnuOpen(), Intent::FileMenu},
        {Intent::Exit, window.mnuExit(), Intent::FileMenu},
        {Intent::ShowSettings, window.mnuSet(), std::nullopt},
        {Intent::ShowTools, window.mnuTest(), std::nullopt},
        {Intent::ExtrasMenu, window.mnuExtras()->menuAction(), std::nullopt},
        {Intent::ShowHistory, window.mnuHistory(), Intent::ExtrasMenu},
        {Intent::EditExtras, window.mnuExtraSettings(), Intent::ExtrasMenu},
    };
    // A hidden panel is disabled too, so that nothing in it can be reached.
    m_widgets = {
        {Intent::Exit, controls->cmdExit},
        {Intent::MainControls, controls},
        {Intent::OpenPort, controls->cmdOpenport},
        {Intent::Start, controls->cmdStart},
        {Intent::Pause, controls->cmdPause},
        {Intent::Resume, controls->cmdResume},
        {Intent::PunchOne, controls->cmd1Note},
        {Intent::Stop, controls->cmdStop},
        {Intent::ChangeSettings, settings},
        {Intent::ChooseFormat, settings->cboFormats},
        {Intent::OpenFormatEditor, settings->cmdFormat},
        {Intent::LeaveSettings, settings->cmdSettingsExit},
        {Intent::LeaveTools, tools},
    };

    connect(&state, &WindowState::allowedChanged, this, &WindowPresenter::applyAllowed);
    applyAllowed();
}

void WindowPresenter::applyAllowed()
{
    const Allowed allowed = m_state.allowed();
    for (const ActionRow &row : std::as_const(m_actions))
        row.action->setEnabled(allowed.allows(row.intent) &&
                               (!row.menu || allowed.allows(*row.menu)));
    for (const WidgetRow &row : std::as_const(m_widgets))
        row.widget->setEnabled(allowed.allows(row.intent));
    m_stopQuestion->setVisible(allowed.allows(Intent::AnswerStop));
}

} // namespace velmora
