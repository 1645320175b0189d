#include "job/jobnotice.h"

#include "common/numbers.h"

#include <QCoreApplication>

namespace velmora {

namespace {

// A desktop note speaks the window's language.
struct Note
{
    Q_DECLARE_TR_FUNCTIONS(velmora::JobNotice)
};

} // namespace

JobNotice jobNotice(PunchJob::Halt why, int hole)
{
    switch (why) {
    case PunchJob::Halt::Completed:
        return {Note::tr("Roll completed"),
                Note::tr("Punching is completed, all notes punched, last note punched:%1")
                    .arg(numberText(hole))};
    case PunchJob::Halt::ControllerStop:
        return {Note::tr("Punching stopped"),
                Note::tr("Stop command received from punch, last note punched:%1")
                    .arg(numberText(hole))};
    case PunchJob::Halt::PortLost:
        break;
    }
    return {Note::tr("Punching paused"),
            Note::tr("Port lost, punching paused, next note:%1").arg(numberText(hole))};
}

} // namespace velmora
