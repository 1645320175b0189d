#include "app/application.h"

namespace velmora {

Application::Application(const AppServices &services)
    : core(services), shell(core, window), roll(core, window)
{
    core.startUp();
}

} // namespace velmora
