#include "job/punchjob.h"

#include "common/numbers.h"
#include "format/holecommandcomposer.h"
#include "job/joblink.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

namespace velmora {

namespace {

const QString PunchingStopped = QStringLiteral("Punching stopped");

} // namespace

PunchJob::PunchJob(Clock &clock, const HoleList &holes, const HoleCommandComposer &composer,
                   NextNoteState &nextNote, JobLink &link, QObject *parent)
    : QObject(parent), m_holes(holes), m_composer(composer), m_nextNote(nextNote), m_link(link),
      m_timer(clock, holes, nextNote), m_step(clock)
{
    connect(&m_timer, &JobTimer::estimateChanged, this, &PunchJob::setRemain);
}

PunchJob::~PunchJob() = default;

JobControls PunchJob::controls() const
{
    JobControls shown = m_controls;
    if (m_singlePunchBusy)
        shown.resume = false;
    return shown;
}

void PunchJob::start()
{
    if (m_jobRunning || !m_controls.start)
        return;
    JobControls &c = m_controls;
    c.start = false;
    c.stop = true;
    c.fileMenu = false;
    c.settingsMenu = false;
    c.pause = false;
    c.resume = true;
    c.singlePunch = true;
    c.exit = false;
    c.openPort = false;
    m_jobRunning = true;
    m_jobState = Go;
    writeLog(QStringLiteral("Punching started"));
    writeLog(QStringLiteral("Press resume to continue"));
    setRemain(QString());
    // The clock starts stopped: the time before the first Resume does not count.
    m_timer.startJobTimer();
    m_timer.pauseJobTimer();
    emit flowLampsReset();
    emit started();
    publish();
}

void PunchJob::resume()
{
    if (!m_jobRunning || !controls().resume)
        return;
    JobControls &c = m_controls;
    c.fileMenu = false;
    c.settingsMenu = false;
    c.resume = false;
    c.singlePunch = false;
    m_jobState = Go;
    m_timer.resumeJobTimer();
    publish();
    // Paused and resumed before the loop came back from its hole: the loop
    // goes on, with hole nextNote after that one, sent or given up.
    if (m_run != Run::Loop)
        continuePunching();
}

void PunchJob::continuePunching()
{
    m_run = Run::Loop;
    nextHole();
}

// The roll is complete once nextNote has passed the last hole, whichever way
// it got there: holes sent, or a next note chosen past the end.
void PunchJob::nextHole()
{
    if (m_nextNote.value() > m_holes.holeCount()) {
        completeJob();
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
    if (m_jobState != Go) {
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

void PunchJob::finishHole()
{
    emit drawRoll();
    if (m_run == Run::Single) {
        endSinglePunch();
        return;
    }
    if (m_jobState == Ended) {
        m_run = Run::None;
        endJob();
        setRemain(PunchingStopped);
        return;
    }
    if (m_jobState == Paused) {
        m_run = Run::None;
        writeLog(QStringLiteral("Pause, press resume to continue"));
        if (m_singlePunchWaiting) {
            m_singlePunchWaiting = false;
            runSinglePunch();
        }
        return;
    }
    // Pause is offered once a hole of this Resume has gone out.
    if (!m_controls.pause && m_hole == HoleState::Sent) {
        m_controls.pause = true;
        publish();
    }
    nextHole();
}

void PunchJob::completeJob()
{
    m_run = Run::None;
    writeLog(QStringLiteral("Punching is completed, all notes punched"));
    const int last = m_nextNote.value() - 1;
    endJob();
    setRemain(PunchingStopped);
    emit halted(Halt::Completed, last);
}

void PunchJob::pause()
{
    if (!m_jobRunning || !m_controls.pause)
        return;
    pauseJob();
}

void PunchJob::pauseJob()
{
    JobControls &c = m_controls;
    c.fileMenu = false;
    c.settingsMenu = false;
    c.pause = false;
    c.start = false;
    c.resume = true;
    c.stop = true;
    c.singlePunch = true;
    m_jobState = Paused;
    m_timer.pauseJobTimer();
    publish();
}

// A hole that cannot go out (no line, port closed) pauses a running job at
// that hole, so the operator can put it right and resume, or stop.
void PunchJob::pauseForFault()
{
    if (m_run == Run::Loop && m_jobRunning && m_jobState == Go)
        pauseJob();
}

void PunchJob::portLost()
{
    if (!m_jobRunning)
        return;
    writeLog(QStringLiteral("Port lost, punching paused, next note:") +
             numberText(m_nextNote.value()));
    if (m_jobState == Go) {
        pauseJob();
        emit halted(Halt::PortLost, m_nextNote.value());
    }
    // The operator reopens the port with "Open port" and resumes at the same
    // hole; the job keeps its place.
    m_controls.openPort = true;
    publish();
}

void PunchJob::portRestored()
{
    if (!m_jobRunning || !m_controls.openPort)
        return;
    m_controls.openPort = false;
    publish();
}

void PunchJob::punchOne()
{
    if (m_singlePunchBusy || !m_controls.singlePunch)
        return;
    m_singlePunchBusy = true;
    if (m_run == Run::Loop) {
        // The loop is finishing the hole on its way after a pause; the single
        // punch follows once it has.
        m_singlePunchWaiting = true;
        publish();
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
        endSinglePunch();
        return;
    }
    m_controls.fileMenu = false;
    m_controls.settingsMenu = false;
    publish();
    m_run = Run::Single;
    beginHole();
}

void PunchJob::endSinglePunch()
{
    m_run = Run::None;
    m_singlePunchBusy = false;
    if (!m_jobRunning) {
        // After the end of a job "1 punch" can stay enabled; its punch leaves
        // the menus as the ended job left them.
        m_controls.fileMenu = true;
        m_controls.settingsMenu = true;
    }
    publish();
}

void PunchJob::requestStop()
{
    if (!m_jobRunning || !m_controls.stop)
        return;
    m_controls.pause = false;
    m_controls.stopQuestion = true;
    m_jobState = Paused;
    m_timer.pauseJobTimer();
    publish();
}

void PunchJob::confirmStop()
{
    if (!m_controls.stopQuestion)
        return;
    writeLog(QStringLiteral("Punching stopped by stop-button, last note punched:") +
             numberText(qint64(m_nextNote.value()) - 1));
    endJob();
    setRemain(PunchingStopped);
    JobControls &c = m_controls;
    c.resume = false;
    c.singlePunch = false;
    c.stopQuestion = false;
    c.openPort = true;
    m_jobRunning = false;
    publish();
}

void PunchJob::cancelStop()
{
    if (!m_controls.stopQuestion)
        return;
    m_controls.stopQuestion = false;
    m_controls.resume = true;
    m_controls.singlePunch = true;
    publish();
}

void PunchJob::endJob()
{
    m_link.clearReceived();
    if (m_timer.timing()) {
        const qint32 total = m_timer.punchingTime();
        m_timer.stopJobTimer();
        writeLog(totalTimeCaption(total));
    }
    JobControls &c = m_controls;
    c.stopQuestion = false;
    c.stop = false;
    c.start = true;
    c.pause = false;
    c.resume = false;
    c.exit = true;
    c.fileMenu = true;
    c.openPort = true;
    c.settingsMenu = true;
    c.testMenu = true;
    // A hole on its way is given up: nothing goes out for an ended job.
    m_step.stop();
    if (m_hole == HoleState::OnItsWay)
        m_hole = HoleState::GivenUp;
    m_run = Run::None;
    m_singlePunchBusy = false;
    m_singlePunchWaiting = false;
    if (m_holes.holeCount() > 0) {
        m_nextNote.set(1);
        emit drawRoll();
    }
    m_jobState = Ended;
    m_jobRunning = false;
    publish();
    emit ended();
}

void PunchJob::stopRequested()
{
    const bool running = m_jobRunning;
    const int last = m_nextNote.value() - 1;
    endJob();
    setRemain(PunchingStopped);
    if (running)
        emit halted(Halt::ControllerStop, last);
}

void PunchJob::setRemain(const QString &caption)
{
    m_remain = caption;
    emit remainChanged(caption);
}

void PunchJob::publish()
{
    emit controlsChanged();
}

void PunchJob::writeLog(const QString &message)
{
    m_link.writeLog(message);
}

} // namespace velmora
