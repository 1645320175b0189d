#include "job/jobnotice.h"

#include "common/numbers.h"

using namespace Qt::StringLiterals;

namespace velmora {

JobNotice jobNotice(PunchJob::Halt why, int hole)
{
    switch (why) {
    case PunchJob::Halt::Completed:
        return {u"Roll completed"_s,
                u"Punching is completed, all notes punched, last note punched:"_s +
                    numberText(hole)};
    case PunchJob::Halt::ControllerStop:
        return {u"Punching stopped"_s,
                u"Stop command received from punch, last note punched:"_s + numberText(hole)};
    case PunchJob::Halt::PortLost:
        break;
    }
    return {u"Punching paused"_s, u"Port lost, punching paused, next note:"_s + numberText(hole)};
}

} // namespace velmora
