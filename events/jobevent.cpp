#include "events/jobevent.h"

using namespace Qt::StringLiterals;

namespace velmora {

QString jobEventName(JobEvent event)
{
    switch (event) {
    case JobEvent::Completed:
        return u"completed"_s;
    case JobEvent::Stopped:
        return u"stopped"_s;
    case JobEvent::ControllerStop:
        return u"controller-stop"_s;
    case JobEvent::PortLost:
        break;
    }
    return u"port-lost"_s;
}

} // namespace velmora
