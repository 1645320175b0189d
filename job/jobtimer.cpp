#include "job/jobtimer.h"

#include "common/numbers.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

namespace velmora {

QString DurationWords(qint64 seconds)
{
    if (seconds < 60)
        return NumberText(seconds) + QStringLiteral(" sec");
    const qint32 minutes = RoundHalfEven(double(seconds) / 60.0);
    if (seconds < 3600)
        return NumberText(minutes) + QStringLiteral(" min");
    return NumberText(minutes / 60) + QStringLiteral(" hrs, ") + NumberText(minutes % 60) +
           QStringLiteral(" min");
}

QString EstimateCaption(qint64 timeToGo)
{
    return QStringLiteral("Estimated time to go: ") + DurationWords(timeToGo);
}

QString TotalTimeCaption(qint64 punchingTime)
{
    return QStringLiteral("Total time punched: ") + DurationWords(punchingTime);
}

qint32 EstimateTimeToGo(qint64 holeCount, qint64 nextNote, qint64 jobElapsed)
{
    if (nextNote < 1)
        return 0;
    const qint64 product = (holeCount - nextNote) * jobElapsed;
    return RoundHalfEven(double(product) / double(nextNote));
}

JobTimer::JobTimer(Clock &clock, const HoleList &holes, const NextNoteState &nextNote,
                   QObject *parent)
    : QObject(parent), m_clock(clock), m_holes(holes), m_nextNote(nextNote), m_timer2(clock)
{}

qint32 JobTimer::clockSeconds() const
{
    return RoundHalfEven(double(m_clock.nowMs()) / 1000.0);
}

void JobTimer::StartJobTimer()
{
    m_timing = true;
    m_jobStartTime = clockSeconds();
    m_timer2.startRepeating(TickMs, [this] { Timer2_Timer(); });
}

void JobTimer::PauseJobTimer()
{
    if (!m_timer2.isActive())
        return;
    m_timer2.stop();
    m_pauseStartTime = clockSeconds();
}

void JobTimer::ResumeJobTimer()
{
    if (!m_timing || m_timer2.isActive())
        return;
    m_timer2.startRepeating(TickMs, [this] { Timer2_Timer(); });
    m_jobStartTime += clockSeconds() - m_pauseStartTime;
}

void JobTimer::StopJobTimer()
{
    m_timer2.stop();
    m_timing = false;
}

qint32 JobTimer::punchingTime() const
{
    if (!m_timing)
        return 0;
    const qint32 until = m_timer2.isActive() ? clockSeconds() : m_pauseStartTime;
    return until - m_jobStartTime;
}

void JobTimer::Timer2_Timer()
{
    const qint32 nextNote = m_nextNote.value();
    if (nextNote < 1)
        return;
    m_jobElapsed = clockSeconds() - m_jobStartTime;
    m_timeToGo = EstimateTimeToGo(m_holes.holeCount(), nextNote, m_jobElapsed);
    emit estimateChanged(EstimateCaption(m_timeToGo));
}

} // namespace velmora
