#include "job/jobtimer.h"

#include "common/numbers.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QCoreApplication>

namespace velmora {

namespace {

constexpr const char *Context = "velmora::JobTimer";

// The words of a time: English for the log, the window's language for the
// caption of lblRemain (say translates or not).
template <typename Say> QString durationIn(qint64 seconds, Say say)
{
    if (seconds < 60)
        return say(QT_TRANSLATE_NOOP("velmora::JobTimer", "%1 sec")).arg(numberText(seconds));
    const qint32 minutes = roundHalfEven(double(seconds) / 60.0);
    if (seconds < 3600)
        return say(QT_TRANSLATE_NOOP("velmora::JobTimer", "%1 min")).arg(numberText(minutes));
    return say(QT_TRANSLATE_NOOP("velmora::JobTimer", "%1 hrs, %2 min"))
        .arg(numberText(minutes / 60), numberText(minutes % 60));
}

QString english(const char *text)
{
    return QString::fromLatin1(text);
}

QString translated(const char *text)
{
    return QCoreApplication::translate(Context, text);
}

} // namespace

QString durationWords(qint64 seconds)
{
    return durationIn(seconds, english);
}

QString estimateCaption(qint64 timeToGo)
{
    return QCoreApplication::translate("velmora::JobTimer", "Estimated time to go: %1")
        .arg(durationIn(timeToGo, translated));
}

QString totalTimeCaption(qint64 punchingTime)
{
    return QStringLiteral("Total time punched: ") + durationWords(punchingTime);
}

qint32 estimateTimeToGo(qint64 holeCount, qint64 nextNote, qint64 holesDone, qint64 jobElapsed)
{
    if (nextNote < 1 || holesDone < 1)
        return 0;
    const qint64 product = (holeCount - nextNote) * jobElapsed;
    return roundHalfEven(double(product) / double(holesDone));
}

JobTimer::JobTimer(Clock &clock, const HoleList &holes, const NextNoteState &nextNote,
                   QObject *parent)
    : QObject(parent), m_clock(clock), m_holes(holes), m_nextNote(nextNote), m_timer2(clock)
{}

qint32 JobTimer::clockSeconds() const
{
    return roundHalfEven(double(m_clock.nowMs()) / 1000.0);
}

void JobTimer::startJobTimer()
{
    m_timing = true;
    m_holesSent = 0;
    m_jobStartTime = clockSeconds();
    m_timer2.startRepeating(TickMs, [this] { tick(); });
}

void JobTimer::pauseJobTimer()
{
    if (!m_timer2.isActive())
        return;
    m_timer2.stop();
    m_pauseStartTime = clockSeconds();
}

void JobTimer::resumeJobTimer()
{
    if (!m_timing || m_timer2.isActive())
        return;
    m_timer2.startRepeating(TickMs, [this] { tick(); });
    m_jobStartTime += clockSeconds() - m_pauseStartTime;
}

void JobTimer::stopJobTimer()
{
    m_timer2.stop();
    m_timing = false;
}

void JobTimer::holeSent()
{
    if (m_timer2.isActive())
        ++m_holesSent;
}

qint32 JobTimer::punchingTime() const
{
    if (!m_timing)
        return 0;
    const qint32 until = m_timer2.isActive() ? clockSeconds() : m_pauseStartTime;
    return until - m_jobStartTime;
}

void JobTimer::tick()
{
    const qint32 nextNote = m_nextNote.value();
    if (nextNote < 1)
        return;
    m_jobElapsed = clockSeconds() - m_jobStartTime;
    m_timeToGo =
        estimateTimeToGo(m_holes.holeCount(), nextNote, qint64(m_holesSent) + 1, m_jobElapsed);
    emit estimateChanged(estimateCaption(m_timeToGo));
}

} // namespace velmora
