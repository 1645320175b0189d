#include "app/remotefeed.h"

#include "app/appcore.h"
#include "roll/rollpreview.h"

#include <utility>

namespace velmora {

namespace {

constexpr int LogLines = 20;
constexpr int PictureWidth = 600;
constexpr int PictureHeight = 200;

RemoteStatus::State stateOf(const PunchJob &job)
{
    if (!job.jobRunning())
        return RemoteStatus::State::Idle;
    return job.punching() && job.jobState() == PunchJob::Go ? RemoteStatus::State::Punching
                                                            : RemoteStatus::State::Paused;
}

} // namespace

JobOutcomeTracker::JobOutcomeTracker(const PunchJob &job, QObject *parent) : QObject(parent)
{
    using Outcome = RemoteStatus::Outcome;
    connect(&job, &PunchJob::started, this, [this] { m_jobOpen = true; });
    connect(&job, &PunchJob::ended, this, [this] {
        if (std::exchange(m_jobOpen, false))
            m_outcome = Outcome::Stopped;
    });
    // Comes right after ended, before anything else can look.
    connect(&job, &PunchJob::halted, this, [this](PunchJob::Halt why) {
        if (why == PunchJob::Halt::Completed)
            m_outcome = Outcome::Completed;
        else if (why == PunchJob::Halt::ControllerStop)
            m_outcome = Outcome::ControllerStop;
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
