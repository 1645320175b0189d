#include "app/application.h"

namespace velmora {

Application::Application(const AppServices &services)
    : core(services), shell(core, window), roll(core, window), link(core, window),
      settings(core, window), job(core, window, roll)
{
    QObject::connect(&link, &LinkPresenter::statusRefreshNeeded, &settings,
                     &SettingsPresenter::showStatus);
    core.startUp();
}

} // namespace velmora
