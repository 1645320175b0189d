#include "app/application.h"

#include "format/formateditor.h"
#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"

#include <QPushButton>

namespace velmora {

namespace {

std::function<bool()> startRule(const AppCore &core)
{
    return [&core] { return core.startAllowed(); };
}

} // namespace

Application::Application(const AppServices &services)
    : core(services), shell(core, window),
      roll(core.holes, core.opener, core.nextNote, core.display, *window.rollView(),
           *window.controlsPanel(), *window.settingsPanel(), &window),
      link(core.portController, core.linkLamps, core.commEvents, core.job, *window.settingsPanel(),
           *window.controlsPanel(), window.menus().settings, startRule(core), window),
      settings(core.formats, core.composer, core.portController, *window.settingsPanel(),
               *window.statusPanel(), *window.controlsPanel(), window.menus(), &window),
      formatEditor(core.formats, *window.settingsPanel()->frmNewFormat,
                   *window.settingsPanel()->cmdFormat, *window.settingsPanel()->cboFormats,
                   *window.settingsPanel()->cmdSettingsExit, &window),
      job(core.job, core.progress, *window.controlsPanel(), window.menus(), startRule(core),
          &window),
      tools(
          core.portController, core.linkSender, *window.toolsPanel(), *window.cmdDummy(),
          *window.controlsPanel()->cmdExit, window.menus(),
          [this](bool shown) { window.setToolsPanelShown(shown); }, &window),
      history(core.history, *window.historyWindow(), window.mnuHistory(), &window),
      extraSettings(core.extras, *window.extraSettingsDialog(), window.mnuExtraSettings(), &window)
{
    QObject::connect(&link, &LinkPresenter::statusRefreshNeeded, &settings,
                     &SettingsPresenter::showStatus);
    QObject::connect(&core.job, &PunchJob::drawRoll, &roll, &RollPresenter::drawRoll);
    QObject::connect(&core.settings, &SettingsStore::calibrationRead, &settings,
                     &SettingsPresenter::showCalibrationText);
    // While the tools panel is shown, a job's changes leave Exit and the menus
    // disabled; leaving the panel gives them back as the job allows.
    job.setMenusHeld([this] { return tools.panelShown(); });
    QObject::connect(&tools, &ToolsPresenter::panelShownChanged, &job,
                     &JobPresenter::applyControls);
    core.startUp();
}

} // namespace velmora
