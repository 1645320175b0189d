#pragma once

#include "job/jobtimer.h"
#include "platform/clock.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace velmora {

class HoleCommandComposer;
class HoleList;
class JobLink;
class NextNoteState;

// Which controls of the job are enabled, and whether the stop question is
// shown: what the job allows. The window's rules add what the port, the roll
// and the panels allow.
struct JobControls
{
    bool start = true;         // cmdStart, as far as the job is concerned
    bool pause = false;        // cmdPause
    bool resume = false;       // cmdResume
    bool singlePunch = false;  // cmd1Note
    bool stop = false;         // cmdStop
    bool exit = true;          // cmdExit
    bool openPort = true;      // cmdOpenport
    bool fileMenu = true;      // mnuFile
    bool settingsMenu = true;  // mnuSet
    bool testMenu = true;      // mnuTest
    bool stopQuestion = false; // picStop shown

    bool operator==(const JobControls &) const = default;
};

// The punch job: Start, Resume, Pause, "1 punch", Stop with its Yes and No,
// and endJob, with the punching loop that sends the holes of the roll from
// nextNote on, one command line at a time, paced by the controller's
// readiness.
//
// Everything runs on the one thread, as steps on timers of the clock; clicks
// and port events reach the job between its steps. One hole goes:
//   compose the line for hole nextNote, wait 100 ms, then test readiness:
//   ready: write it (the link logs it) and advance nextNote;
//   not ready and the job no longer at "go": give the hole up unsent;
//   otherwise test again 100 ms later.
//   Then wait 100 ms and redraw the roll. In the loop, a zero-delay step comes
//   before each hole, and after the redraw the job looks for its end or a
//   pause.
// A hole is never sent twice and never skipped: nextNote advances only with a
// written line, and only one hole is ever on its way. The loop counts no
// passes: after every hole it goes on with hole nextNote, and the roll is
// complete when nextNote has passed the last hole. A hole given up is thus
// the next one again, and a next note chosen anew is followed to the end.
//
// The job's state is its phase, who has a hole on its way and whether the
// port went away; they are independent of one another, and the controls
// follow from them alone. Everything else the window's shared state knew of
// the job (jobRunning, jobState) is read from the phase.
class PunchJob : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 SettleMs = 100; // before the readiness test
    static constexpr qint64 PollMs = 100;   // between readiness tests
    static constexpr qint64 AfterMs = 100;  // after a hole, before the redraw

    // Where the job stands, as the operator drives it. Each is one row of the
    // job's state table.
    enum class Phase
    {
        Idle,              // no job has run yet
        Started,           // Start pressed: Resume or "1 punch" comes next
        Resumed,           // the loop sends; no hole of this Resume has gone out yet
        Punching,          // the loop sends and has sent a hole: Pause is offered
        Paused,            // by Pause, by the lost port or by a hole that could not go out
        StopAsked,         // "Really stop?" asked from Started or Paused
        StopAskedPunching, // "Really stop?" asked while punching: only the answer counts
        Ended,             // the job ended
        EndedPunchable,    // ended by the controller while "1 punch" was offered; it stays
    };

    // Who has a hole on its way, or is about to take one up.
    enum class Worker
    {
        None,
        Loop,           // the punching loop, between Resume and its return
        SinglePunch,    // "1 punch"
        LoopThenSingle, // "1 punch" waits for the loop to finish the hole it has
    };

    // The jobState the window's shared state names: 0 go, 1 paused, 2 ended.
    // It follows from the phase.
    enum State
    {
        Go = 0,
        Paused = 1,
        Ended = 2,
    };

    // The hole the job took up last: on its way (composed, waiting or
    // settling), given up unsent, or sent.
    enum class HoleState
    {
        None,
        OnItsWay,
        GivenUp,
        Sent,
    };

    // How a job ended. A lost port does not end the job: it pauses it (halted
    // with Halt::PortLost).
    enum class EndReason
    {
        Completed,      // the last hole was sent
        Stopped,        // the operator answered Yes to "Really stop?"
        ControllerStop, // the controller sent "stop"
    };

    // Why a job stopped going without the operator's hand.
    enum class Halt
    {
        Completed,      // the last hole was sent
        ControllerStop, // the controller sent "stop"
        PortLost,       // the port vanished; the job is paused
    };

    // What the job allows in a phase, with a worker, and with the port away
    // or not: the one rule for the job's controls.
    static JobControls controlsIn(Phase phase, Worker worker, bool portAway);

    // The holes go out on link, which also logs them and the job's milestones.
    PunchJob(Clock &clock, const HoleList &holes, const HoleCommandComposer &composer,
             NextNoteState &nextNote, JobLink &link, QObject *parent = nullptr);
    ~PunchJob() override;

    // The buttons. Each does nothing unless controls() offers it.
    void start();
    void pause();
    void resume();
    void punchOne();
    void requestStop();
    void confirmStop();
    void cancelStop();

    // The controller sent "stop" (the link has logged it): the job ends, also
    // when none runs.
    void stopRequested();
    // The port vanished (the link has closed it): a running job pauses at the
    // hole not yet sent, with a log line, and offers "Open port".
    void portLost();
    // The port opened again; "Open port" rests until the job ends.
    void portRestored();

    Phase phase() const { return m_phase; }
    Worker worker() const { return m_worker; }
    bool jobRunning() const { return runningIn(m_phase); }
    int jobState() const;
    bool singlePunchBusy() const;
    // The punching loop is between Resume and its return.
    bool punching() const;
    HoleState holeState() const { return m_hole; }
    JobControls controls() const { return controlsIn(m_phase, m_worker, m_portAway); }
    QString remainCaption() const { return m_remain; }

    JobTimer &timer() { return m_timer; }

signals:
    void controlsChanged();
    // The caption of lblRemain.
    void remainChanged(const QString &caption);
    // drawRoll: redraw the roll around nextNote.
    void drawRoll();
    // Start greys the Xon and Xoff lamps.
    void flowLampsReset();
    // Start made a new job.
    void started();
    // The line of this hole was written; nextNote names the hole after it.
    void holeSent(int hole);
    // A job ended, and why.
    void ended(velmora::PunchJob::EndReason reason);
    // The job completed or was stopped by the controller (hole: the last
    // note punched), or paused as its port was lost (hole: the next note).
    void halted(velmora::PunchJob::Halt why, int hole);

private:
    static bool runningIn(Phase phase);
    void setPhase(Phase phase);
    void continuePunching();
    void nextHole();
    void giveUpHole();
    bool composeHole(int hole);
    void beginHole();
    void testReadiness();
    void writeHole();
    void holeDone();
    void finishHole();
    void runSinglePunch();
    void pauseJob();
    void pauseForFault();
    // Ends the job, for any reason: its line logged, received text dropped,
    // clock stopped, controls back to ready, nextNote 1, roll redrawn,
    // lblRemain "Punching stopped". A hole on its way is given up unsent.
    void endJob(EndReason reason);
    void setRemain(const QString &caption);
    void writeLog(const QString &message);

    const HoleList &m_holes;
    const HoleCommandComposer &m_composer;
    NextNoteState &m_nextNote;
    JobLink &m_link;
    JobTimer m_timer;
    ClockTimer m_step;

    Phase m_phase = Phase::Idle;
    Worker m_worker = Worker::None;
    bool m_portAway = false; // the port vanished during this job and is not back
    QString m_remain;

    HoleState m_hole = HoleState::None;
    QString m_commandLine;  // the line of the hole on its way
    int m_composedHole = 0; // the hole that line was composed for
};

} // namespace velmora
