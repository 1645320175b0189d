#include "app/remotefeed.h"

#include "app/appcore.h"
#include "roll/rollpreview.h"

namespace velmora {

namespace {

constexpr int LogLines = 20;
constexpr int PictureWidth = 600;
constexpr int PictureHeight = 200;

RemoteStatus::State stateOf(const PunchJob &job)
{
    using Phase = PunchJob::Phase;
    switch (job.phase()) {
    case Phase::Resumed:
    case Phase::Punching:
        return RemoteStatus::State::Punching;
    case Phase::Started:
    case Phase::Paused:
    case Phase::StopAsked:
    case Phase::StopAskedPunching:
        return RemoteStatus::State::Paused;
    case Phase::Idle:
    case Phase::Ended:
    case Phase::EndedPunchable:
        break;
    }
    return RemoteStatus::State::Idle;
}

} // namespace

JobOutcomeTracker::JobOutcomeTracker(const PunchJob &job, QObject *parent) : QObject(parent)
{
    connect(&job, &PunchJob::ended, this, [this](PunchJob::EndReason reason) {
        using Outcome = RemoteStatus::Outcome;
        switch (reason) {
        case PunchJob::EndReason::Completed:
            m_outcome = Outcome::Completed;
            break;
        case PunchJob::EndReason::Stopped:
            m_outcome = Outcome::Stopped;
            break;
        case PunchJob::EndReason::ControllerStop:
            m_outcome = Outcome::ControllerStop;
            break;
        }
    });
}

RemoteStatus remoteStatusOf(const AppCore &core)
{
    RemoteStatus status;
    status.state = stateOf(core.job);
    if (core.opener.fileLoaded())
        status.roll =
            RemoteRoll{core.opener.prtPath(), core.holes.rollName, core.holes.holeCount()};
    status.nextNote = core.nextNote.value();
    status.sent = core.progress.progress().punched;
    status.remaining = core.job.remainCaption();
    status.outcome = core.jobOutcome.outcome();
    status.log = core.log.lastLines(LogLines);
    status.time = QDateTime::currentDateTime();
    return status;
}

RollPicture rollPictureOf(const AppCore &core)
{
    return {PictureWidth, PictureHeight,
            previewShapes(core.holes, core.opener, core.nextNote, core.display, PictureWidth,
                          PictureHeight)};
}

} // namespace velmora
