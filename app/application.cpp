#include "app/application.h"

#include "extras/extrasettingsdialog.h"
#include "format/formateditor.h"
#include "remote/remotepanel.h"
#include "settings/settingspanel.h"

#include <QPushButton>

namespace velmora {

Application::Application(const AppServices &services)
    : core(services), shell(core, window),
      roll(core.holes, core.opener, core.nextNote, core.display, *window.rollView(),
           *window.controlsPanel(), *window.settingsPanel(), core.windowState, &window),
      link(core.portController, core.linkLamps, core.commEvents, *window.settingsPanel(),
           *window.controlsPanel(), core.windowState, window),
      settings(core.formats, core.calibration, core.portController, *window.settingsPanel(),
               *window.statusPanel(), core.windowState, &window),
      formatEditor(core.formats, *window.settingsPanel()->frmNewFormat, core.windowState, &window),
      job(core.job, core.progress, *window.controlsPanel(), core.windowState, &window),
      tools(
          core.portController, core.linkSender, *window.toolsPanel(), *window.cmdDummy(),
          core.windowState, [this](bool shown) { window.setToolsPanelShown(shown); }, &window),
      history(core.history, *window.historyWindow(), window.mnuHistory(), core.windowState,
              &window),
      extraSettings(core.extras, *window.extraSettingsDialog(), window.mnuExtraSettings(),
                    core.windowState, &window),
      windowPresenter(core.windowState, window)
{
    QObject::connect(&link, &LinkPresenter::statusRefreshNeeded, &settings,
                     &SettingsPresenter::showStatus);
    QObject::connect(&core.job, &PunchJob::drawRoll, &roll, &RollPresenter::drawRoll);

    // The panels come and go as the window state says.
    WindowState *state = &core.windowState;
    QObject::connect(state, &WindowState::settingsPanelShown, &settings,
                     &SettingsPresenter::setPanelShown);
    QObject::connect(state, &WindowState::settingsPanelShown, &link, [this](bool shown) {
        if (shown)
            link.showDevice();
    });
    QObject::connect(state, &WindowState::formatEditorShown, &formatEditor,
                     &FormatEditorPresenter::setEditorShown);
    QObject::connect(state, &WindowState::toolsPanelShown, &tools, &ToolsPresenter::setPanelShown);
    window.extraSettingsDialog()->setRemotePanel(new RemotePanel(core.remote));
    core.startUp();
}

} // namespace velmora
