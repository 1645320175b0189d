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
// shown. The job keeps it and the window applies it as it is, except Start,
// which also needs the port open and a roll loaded.
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
class PunchJob : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 SettleMs = 100; // before the readiness test
    static constexpr qint64 PollMs = 100;   // between readiness tests
    static constexpr qint64 AfterMs = 100;  // after a hole, before the redraw

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

    // Why a job stopped going without the operator's hand.
    enum class Halt
    {
        Completed,      // the last hole was sent
        ControllerStop, // the controller sent "stop"
        PortLost,       // the port vanished; the job is paused
    };

    // The holes go out on link, which also logs them and the job's milestones.
    PunchJob(Clock &clock, const HoleList &holes, const HoleCommandComposer &composer,
             NextNoteState &nextNote, JobLink &link, QObject *parent = nullptr);
    ~PunchJob() override;

    // The buttons. Each does nothing while its button would be disabled.
    void start();
    void pause();
    void resume();
    void punchOne();
    void requestStop();
    void confirmStop();
    void cancelStop();

    // Ends the job (also when none runs): received text dropped, clock
    // stopped, controls back to ready, nextNote 1, roll redrawn. A hole on its
    // way is given up unsent.
    void endJob();
    // The controller sent "stop" (the link has logged it): the job ends and
    // lblRemain reads "Punching stopped".
    void stopRequested();
    // The port vanished (the link has closed it): a running job pauses at the
    // hole not yet sent, with a log line.
    void portLost();
    // The port opened again; "Open port" rests until the job ends.
    void portRestored();

    bool jobRunning() const { return m_jobRunning; }
    int jobState() const { return m_jobState; }
    bool singlePunchBusy() const { return m_singlePunchBusy; }
    // The punching loop is between Resume and its return.
    bool punching() const { return m_run == Run::Loop; }
    HoleState holeState() const { return m_hole; }
    // The controls as they are to be shown: Resume stays off while a single
    // punch is on its way.
    JobControls controls() const;
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
    // The operator confirmed Stop; the job ends right after.
    void stopConfirmed();
    // endJob ran: no job any more.
    void ended();
    // The job completed or was stopped by the controller (hole: the last
    // note punched), or paused as its port was lost (hole: the next note).
    void halted(velmora::PunchJob::Halt why, int hole);

private:
    enum class Run
    {
        None,
        Loop,
        Single,
    };

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
    void endSinglePunch();
    void completeJob();
    void pauseJob();
    void pauseForFault();
    void setRemain(const QString &caption);
    void publish();
    void writeLog(const QString &message);

    const HoleList &m_holes;
    const HoleCommandComposer &m_composer;
    NextNoteState &m_nextNote;
    JobLink &m_link;
    JobTimer m_timer;
    ClockTimer m_step;

    JobControls m_controls;
    bool m_jobRunning = false;
    int m_jobState = Go;
    bool m_singlePunchBusy = false;
    QString m_remain;

    Run m_run = Run::None;
    bool m_singlePunchWaiting = false; // clicked while the loop finished its hole
    HoleState m_hole = HoleState::None;
    QString m_commandLine;  // the line of the hole on its way
    int m_composedHole = 0; // the hole that line was composed for
};

} // namespace velmora
