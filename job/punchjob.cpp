#include "job/punchjob.h"

#include "common/numbers.h"
#include "format/holecommandcomposer.h"
#include "job/joblink.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QCoreApplication>

namespace velmora {

namespace {

// The caption of lblRemain after every end, in the window's language.
QString punchingStopped()
{
    return QCoreApplication::translate("velmora::PunchJob", "Punching stopped");
}

} // namespace

PunchJob::PunchJob(Clock &clock, const HoleList &holes, const HoleCommandComposer &composer,
                   NextNoteState &nextNote, JobLink &link, QObject *parent)
    : QObject(parent), m_holes(holes), m_composer(composer), m_nextNote(nextNote), m_link(link),
      m_timer(clock, holes, nextNote), m_step(clock)
{
    connect(&m_timer, &JobTimer::estimateChanged, this, &PunchJob::setRemain);
}

PunchJob::~PunchJob() = default;

bool PunchJob::runningIn(Phase phase)
{
    return phase != Phase::Idle && phase != Phase::Ended && phase != Phase::EndedPunchable;
}

JobControls PunchJob::controlsIn(Phase phase, Worker worker, bool portAway)
{
    // Without a job: Start, Exit, "Open port" and the menus.
    JobControls c;
    c.singlePunch = phase == Phase::EndedPunchable;
    if (runningIn(phase)) {
        c.start = c.exit = c.fileMenu = c.settingsMenu = false;
        c.stop = true;
        c.pause = phase == Phase::Punching;
        c.resume = c.singlePunch =
            phase == Phase::Started || phase == Phase::Paused || phase == Phase::StopAsked;
        c.stopQuestion = phase == Phase::StopAsked || phase == Phase::StopAskedPunching;
        // The operator opens the lost port again and resumes at the same hole.
        c.openPort = portAway;
    }
    // Resume waits for a single punch on its way, which also keeps the roll
    // and the settings as they are.
    if (worker == Worker::SinglePunch || worker == Worker::LoopThenSingle)
        c.resume = c.fileMenu = c.settingsMenu = false;
    return c;
}

int PunchJob::jobState() const
{
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Started:
    case Phase::Resumed:
    case Phase::Punching:
        return Go;
    case Phase::Paused:
    case Phase::StopAsked:
    case Phase::StopAskedPunching:
        return Paused;
    case Phase::Ended:
    case Phase::EndedPunchable:
        break;
    }
    return Ended;
}

bool PunchJob::singlePunchBusy() const
{
    return m_worker == Worker::SinglePunch || m_worker == Worker::LoopThenSingle;
}

bool PunchJob::punching() const
{
    return m_worker == Worker::Loop || m_worker == Worker::LoopThenSingle;
}

void PunchJob::setPhase(Phase phase)
{
    m_phase = phase;
    emit controlsChanged();
}

void PunchJob::start()
{
    if (!controls().start)
        return;
    setPhase(Phase::Started);
    writeLog(QStringLiteral("Punching started"));
    writeLog(QStringLiteral("Press resume to continue"));
    setRemain(QString());
    // The clock starts stopped: the time before the first Resume does not count.
    m_timer.startJobTimer();
    m_timer.pauseJobTimer();
    emit flowLampsReset();
    emit started();
}

// Resume also answers a stop question asked from a pause: the operator goes on.
void PunchJob::resume()
{
    if (!controls().resume)
        return;
    setPhase(Phase::Resumed);
    m_timer.resumeJobTimer();
    // Paused and resumed before the loop came back from its hole: the loop
    // goes on, with hole nextNote after that one, sent or given up.
    if (m_worker != Worker::Loop)
        continuePunching();
}

void PunchJob::continuePunching()
{
    m_worker = Worker::Loop;
    nextHole();
}

// The roll is complete once nextNote has passed the last hole, whichever way
// it got there: holes sent, or a next note chosen past the end.
void PunchJob::nextHole()
{
    if (m_nextNote.value() > m_holes.holeCount()) {
        endJob(EndReason::Completed);
        return;
    }
    // Clicks and port events waiting now run before the hole.
    m_step.start(0, [this] { beginHole(); });
}

// Composes the line for hole nextNote and waits the settling time before the
// first readiness test; a line that cannot be composed is never sent.
void PunchJob::beginHole()
{
    m_hole = HoleState::OnItsWay;
    if (!composeHole(m_nextNote.value())) {
        giveUpHole();
        return;
    }
    m_step.start(SettleMs, [this] { testReadiness(); });
}

bool PunchJob::composeHole(int hole)
{
    ComposedLine line = m_composer.composeHoleCommand(hole);
    // A format without fields composes the empty line: a bare CR punches nothing.
    if (line.ok() && line.text.isEmpty())
        line.error =
            QStringLiteral("hole %1: the output format has no fields, nothing to send").arg(hole);
    if (!line.ok()) {
        writeLog(line.error);
        pauseForFault();
        return false;
    }
    m_commandLine = line.text;
    m_composedHole = hole;
    return true;
}

void PunchJob::testReadiness()
{
    if (m_link.clearToSend()) {
        writeHole();
        return;
    }
    if (jobState() != Go) {
        // Paused, stopped or ended while waiting: the hole stays the next one.
        giveUpHole();
        return;
    }
    m_step.start(PollMs, [this] { testReadiness(); });
}

void PunchJob::writeHole()
{
    const int hole = m_nextNote.value();
    // The next note was chosen anew while this hole waited: the line goes out
    // for the hole that nextNote names now, so log, line and position agree.
    if (hole != m_composedHole && !composeHole(hole)) {
        giveUpHole();
        return;
    }
    if (!m_link.sendHoleCommand(m_commandLine, hole, m_holes.hole(hole).keynum)) {
        pauseForFault();
        giveUpHole();
        return;
    }
    m_hole = HoleState::Sent;
    m_timer.holeSent();
    m_nextNote.set(hole + 1);
    // The wait after the hole runs from the write: what follows a hole sent
    // (the progress shown, the journal) happens within it and never slows
    // the machine's pace.
    holeDone();
    emit holeSent(hole);
}

// The hole goes back unsent: nextNote still names it.
void PunchJob::giveUpHole()
{
    m_hole = HoleState::GivenUp;
    holeDone();
}

void PunchJob::holeDone()
{
    m_step.start(AfterMs, [this] { finishHole(); });
}

// After the redraw: a single punch is done; the loop goes on while the job is
// at "go", and otherwise returns with its pause line, handing over to a
// single punch that waited for it.
void PunchJob::finishHole()
{
    emit drawRoll();
    if (m_worker == Worker::SinglePunch) {
        m_worker = Worker::None;
        emit controlsChanged();
        return;
    }
    if (m_phase == Phase::Resumed || m_phase == Phase::Punching) {
        // Pause is offered once a hole of this Resume has gone out.
        if (m_phase == Phase::Resumed && m_hole == HoleState::Sent)
            setPhase(Phase::Punching);
        nextHole();
        return;
    }
    const bool singlePunchWaits = m_worker == Worker::LoopThenSingle;
    m_worker = Worker::None;
    writeLog(QStringLiteral("Pause, press resume to continue"));
    if (singlePunchWaits)
        runSinglePunch();
}

void PunchJob::pause()
{
    if (!controls().pause)
        return;
    pauseJob();
}

void PunchJob::pauseJob()
{
    setPhase(Phase::Paused);
    m_timer.pauseJobTimer();
}

// A hole that cannot go out (no line, port closed) pauses the running loop
// at that hole, so the operator can put it right and resume, or stop.
void PunchJob::pauseForFault()
{
    if (m_worker == Worker::Loop && jobState() == Go)
        pauseJob();
}

void PunchJob::portLost()
{
    if (!jobRunning())
        return;
    writeLog(QStringLiteral("Port lost, punching paused, next note:") +
             numberText(m_nextNote.value()));
    m_portAway = true;
    if (jobState() == Go) {
        pauseJob();
        emit halted(Halt::PortLost, m_nextNote.value());
    } else {
        emit controlsChanged();
    }
}

void PunchJob::portRestored()
{
    if (!jobRunning() || !m_portAway)
        return;
    m_portAway = false;
    emit controlsChanged();
}

void PunchJob::punchOne()
{
    if (!controls().singlePunch || singlePunchBusy())
        return;
    if (m_worker == Worker::Loop) {
        // The loop is finishing the hole on its way after a pause; the single
        // punch follows once it has.
        m_worker = Worker::LoopThenSingle;
        emit controlsChanged();
        return;
    }
    runSinglePunch();
}

void PunchJob::runSinglePunch()
{
    const int hole = m_nextNote.value();
    if (hole < 1 || hole > m_holes.holeCount()) {
        writeLog(QStringLiteral("1 punch refused, no note") + numberText(hole) +
                 QStringLiteral(" in this roll of") + numberText(m_holes.holeCount()) +
                 QStringLiteral(" notes"));
        m_worker = Worker::None;
        emit controlsChanged();
        return;
    }
    m_worker = Worker::SinglePunch;
    emit controlsChanged();
    beginHole();
}

void PunchJob::requestStop()
{
    if (!controls().stop)
        return;
    const bool punching = m_phase == Phase::Resumed || m_phase == Phase::Punching ||
                          m_phase == Phase::StopAskedPunching;
    setPhase(punching ? Phase::StopAskedPunching : Phase::StopAsked);
    m_timer.pauseJobTimer();
}

void PunchJob::confirmStop()
{
    if (!controls().stopQuestion)
        return;
    endJob(EndReason::Stopped);
}

void PunchJob::cancelStop()
{
    if (!controls().stopQuestion)
        return;
    setPhase(Phase::Paused);
}

void PunchJob::stopRequested()
{
    endJob(EndReason::ControllerStop);
}

void PunchJob::endJob(EndReason reason)
{
    const bool running = jobRunning();
    // "Last note punched" is taken before nextNote goes back to 1.
    const int last = m_nextNote.value() - 1;
    if (reason == EndReason::Completed)
        writeLog(QStringLiteral("Punching is completed, all notes punched"));
    else if (reason == EndReason::Stopped)
        writeLog(QStringLiteral("Punching stopped by stop-button, last note punched:") +
                 numberText(qint64(m_nextNote.value()) - 1));
    // "1 punch" keeps its state, except after Yes, which turns it off.
    const bool punchable = reason == EndReason::ControllerStop && controls().singlePunch;

    m_link.clearReceived();
    if (m_timer.timing()) {
        const qint32 total = m_timer.punchingTime();
        m_timer.stopJobTimer();
        writeLog(totalTimeCaption(total));
    }
    // A hole on its way is given up: nothing goes out for an ended job.
    m_step.stop();
    if (m_hole == HoleState::OnItsWay)
        m_hole = HoleState::GivenUp;
    m_worker = Worker::None;
    m_portAway = false;
    if (m_holes.holeCount() > 0) {
        m_nextNote.set(1);
        emit drawRoll();
    }
    setPhase(punchable ? Phase::EndedPunchable : Phase::Ended);
    setRemain(punchingStopped());
    if (!running)
        return;
    emit ended(reason);
    if (reason == EndReason::Completed)
        emit halted(Halt::Completed, last);
    else if (reason == EndReason::ControllerStop)
        emit halted(Halt::ControllerStop, last);
}

void PunchJob::setRemain(const QString &caption)
{
    m_remain = caption;
    emit remainChanged(caption);
}

void PunchJob::writeLog(const QString &message)
{
    m_link.writeLog(message);
}

} // namespace velmora
