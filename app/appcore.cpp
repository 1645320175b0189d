#include "app/appcore.h"

#include "app/folders.h"
#include "job/jobnotice.h"
#include "platform/notifier.h"

#include <utility>

namespace velmora {

namespace {

JobEvent jobEndEvent(PunchJob::EndReason reason)
{
    switch (reason) {
    case PunchJob::EndReason::Completed:
        return JobEvent::Completed;
    case PunchJob::EndReason::Stopped:
        return JobEvent::Stopped;
    case PunchJob::EndReason::ControllerStop:
        break;
    }
    return JobEvent::ControllerStop;
}

} // namespace

AppCore::AppCore(const AppServices &services_, QObject *parent)
    : QObject(parent), services(services_), opener(holes, services.chooser), composer(holes),
      commEvents(services.port, log, linkLamps, [this] { return nextNote.value(); }),
      portController(services.port, log, linkLamps, commEvents, formLoading,
                     {services.settingsDir, services.presentPorts}),
      linkSender(services.port, log, commEvents),
      job(services.clock, holes, composer, nextNote, linkSender),
      journal(services.settingsDir, [this](const QString &line) { log.writeLog(line); }),
      progress(job, holes, nextNote), windowState(job, portController, opener),
      calibration(composer),
      settings(services.settingsDir, {opener, portController, formats, calibration, display}, log),
      extras(services.settingsDir, [this](const QString &line) { log.writeLog(line); }),
      events(
          services.clock, [this](JobEvent event) { return extras.values().command(event); },
          [this](const QString &line) { log.writeLog(line); }),
      history(services.settingsDir), jobOutcome(job),
      remote([this] { return remoteStatusOf(*this); }, [this] { return rollPictureOf(*this); })
{
    // The controller's "stop" ends the job; a vanished port pauses it; Start
    // greys the flow-control lamps.
    connect(&commEvents, &CommEvents::stopRequested, &job, &PunchJob::stopRequested);
    connect(&portController, &PortController::portLost, &job, &PunchJob::portLost);
    connect(&portController, &PortController::portStateChanged, &job, [this](bool open) {
        if (open)
            job.portRestored();
    });
    connect(&job, &PunchJob::flowLampsReset, &commEvents, &CommEvents::resetFlowControlLamps);
    connect(&formats, &FormatTable::currentFormatChanged, this,
            [this] { composer.setFormat(formats.currentFormat()); });
    connect(&opener, &PrtOpener::nextNoteReset, this, [this] { nextNote.setPlain(1); });

    // The journal follows the job hole by hole; the unfinished roll, opened
    // again, puts up the hole to continue from.
    connect(&opener, &PrtOpener::rollChanged, this, [this](bool loaded) {
        if (!loaded)
            return;
        if (const int hole = journal.rollLoaded(opener.prtPath(), holes.holeCount()))
            nextNote.set(hole);
    });
    connect(&job, &PunchJob::holeSent, this, [this](int hole) {
        if (job.jobRunning())
            journal.holeSent(hole);
    });
    connect(&job, &PunchJob::ended, this, [this] { journal.jobEnded(); });
    connect(&remote, &RemoteView::failed, this, [this](const QString &why) { log.writeLog(why); });
    // The remote view's settings live in velmora.ini: applied at start-up,
    // kept whenever they change (the operator's panel, the first token).
    connect(&remote, &RemoteView::settingsChanged, this, [this](const RemoteSettings &settings) {
        ExtraValues values = extras.values();
        values.remote = settings;
        extras.setValues(values);
    });
    connect(&job, &PunchJob::halted, this, [this](PunchJob::Halt why, int hole) {
        if (services.notifier) {
            const JobNotice notice = jobNotice(why, hole);
            services.notifier->notify(notice.title, notice.text);
        }
    });
    followJobs();
}

// The job's ends and holes go to the recorder, which keeps the job's history
// row and raises the operator's event commands.
void AppCore::followJobs()
{
    connect(&job, &PunchJob::started, this, [this] {
        recorder.jobStarted({opener.prtPath(), holes.rollName, holes.holeCount()});
    });
    connect(&job, &PunchJob::holeSent, this, [this](int hole) {
        if (job.jobRunning())
            recorder.holeSent(hole, job.timer().punchingTime());
    });
    connect(&job, &PunchJob::ended, this,
            [this](PunchJob::EndReason reason) { recorder.jobEnded(jobEndEvent(reason)); });
    // A lost port pauses the job rather than ending it; the job reports it
    // only when the port goes while the job is going, not while it is paused
    // already (by Pause or with the stop question up).
    connect(&job, &PunchJob::halted, this, [this](PunchJob::Halt why) {
        if (why == PunchJob::Halt::PortLost)
            recorder.portLost();
    });
    connect(&recorder, &JobRecorder::recordChanged, &history, &HistoryStore::record);
    connect(&recorder, &JobRecorder::eventRaised, &events, &EventRunner::raise);
    connect(&history, &HistoryStore::logLine, this,
            [this](const QString &line) { log.writeLog(line); });
}

void AppCore::startUp()
{
    opener.setPrtDir(samplesFolder(services.appDir));
    formLoading = true;
    composer.setXCalibration(1000.0f);
    composer.setYCalibration(1000.0f);
    // Does nothing while formLoading is set: the port stays closed.
    portController.openPortAtStart();
    settings.readParameterFile();
    // Without a stored format choice the built-in "Zelvoor" is current, so no
    // roll is punched with an unset format.
    if (formats.selectedFormat() < 0)
        formats.selectFormat(1);
    formLoading = false;
    journal.readLeftOver();
    extras.read();
    remote.apply(extras.values().remote);
    history.start();
}

bool AppCore::shutDown()
{
    if (settings.writeParameterFile())
        return true;
    return std::exchange(m_keepFailed, true);
}

bool AppCore::portOpen() const
{
    return portController.portOpen();
}

bool AppCore::jobRunning() const
{
    return job.jobRunning();
}

} // namespace velmora
