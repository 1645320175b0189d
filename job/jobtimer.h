#pragma once

#include "platform/clock.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace velmora {

class HoleList;
class NextNoteState;

// A number of seconds in English words, as the log writes them: below 60 as
// seconds, below 3600 as minutes, from there as hours and minutes, each number
// with one blank before a non-negative value (" 38 sec", " 12 min",
// " 1 hrs,  40 min"). Minutes are seconds / 60 rounded halves to even, so
// 90 s gives 2 min and 150 s too.
QString durationWords(qint64 seconds);

// The caption of lblRemain for a time to go, in the window's language:
// "Estimated time to go:  38 sec".
QString estimateCaption(qint64 timeToGo);

// The log line with the punching time of a finished job, worded like the
// estimate, always in English as every log line: "Total time punched:  3 min".
QString totalTimeCaption(qint64 punchingTime);

// The seconds still needed for holes nextNote + 1 to holeCount at the pace so
// far, holesDone holes in jobElapsed seconds; rounded halves to even, the
// product taken in 64 bits. 0 for a nextNote or holesDone below 1.
qint32 estimateTimeToGo(qint64 holeCount, qint64 nextNote, qint64 holesDone, qint64 jobElapsed);

// The job's clock: the punching time without the time the job stood paused,
// and Timer2, which every 2000 ms while on writes the estimated time to go.
// The pace is that of this job: the holes done are the holes sent in its
// punching time plus one, so a roll resumed part-way is not taken for one
// punched from its first hole.
// All times are whole seconds of the clock (its milliseconds / 1000, rounded
// halves to even). The job calls the four procedures; the clock never paces
// the job.
class JobTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 TickMs = 2000;

    JobTimer(Clock &clock, const HoleList &holes, const NextNoteState &nextNote,
             QObject *parent = nullptr);

    // Start of a job: the clock is set going and Timer2 switched on.
    void startJobTimer();
    // Pause or stop question: Timer2 off; the pause begins now. A pause while
    // already paused keeps the first pause's start, so no paused time counts.
    void pauseJobTimer();
    // Timer2 on; the paused time is left out of the punching time.
    void resumeJobTimer();
    // End of the job: Timer2 off.
    void stopJobTimer();
    // A hole went out; it counts for the pace while the punching time runs.
    void holeSent();
    // One tick of Timer2: computes jobElapsed and timeToGo and emits the
    // caption. Does nothing while nextNote is below 1.
    void tick();

    bool timer2Enabled() const { return m_timer2.isActive(); }
    // A job's clock was started and not yet stopped.
    bool timing() const { return m_timing; }
    // The punching time so far, in seconds: up to now while running, up to
    // the start of the pause while paused.
    qint32 punchingTime() const;

    qint32 jobStartTime() const { return m_jobStartTime; }
    qint32 pauseStartTime() const { return m_pauseStartTime; }
    qint32 jobElapsed() const { return m_jobElapsed; }
    qint32 timeToGo() const { return m_timeToGo; }
    qint32 holesSent() const { return m_holesSent; }

    // The clock in whole seconds.
    qint32 clockSeconds() const;

signals:
    void estimateChanged(const QString &caption);

private:
    Clock &m_clock;
    const HoleList &m_holes;
    const NextNoteState &m_nextNote;
    ClockTimer m_timer2;
    bool m_timing = false;
    qint32 m_jobStartTime = 0;
    qint32 m_pauseStartTime = 0;
    qint32 m_jobElapsed = 0;
    qint32 m_timeToGo = 0;
    qint32 m_holesSent = 0; // in this job's punching time
};

} // namespace velmora
