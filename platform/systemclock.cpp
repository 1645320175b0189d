#include "platform/systemclock.h"

#include <QTimerEvent>

#include <algorithm>
#include <limits>
#include <utility>

namespace velmora {

SystemClock::SystemClock(QObject *parent) : QObject(parent)
{
    m_elapsed.start();
}

qint64 SystemClock::nowMs() const
{
    return m_elapsed.elapsed();
}

TimerId SystemClock::schedule(qint64 delayMs, std::function<void()> callback)
{
    const int delay = int(std::clamp<qint64>(delayMs, 0, std::numeric_limits<int>::max()));
    const int qtId = startTimer(delay, Qt::PreciseTimer);
    if (qtId == 0)
        return 0;
    const TimerId id = ++m_lastId;
    m_byQtId.insert(qtId, Pending{id, std::move(callback)});
    m_qtIdOf.insert(id, qtId);
    return id;
}

void SystemClock::cancel(TimerId id)
{
    const auto it = m_qtIdOf.constFind(id);
    if (it == m_qtIdOf.constEnd())
        return;
    killTimer(*it);
    m_byQtId.remove(*it);
    m_qtIdOf.erase(it);
}

void SystemClock::timerEvent(QTimerEvent *event)
{
    const int qtId = event->timerId();
    killTimer(qtId);
    const auto it = m_byQtId.find(qtId);
    if (it == m_byQtId.end())
        return;
    Pending pending = std::move(*it);
    m_byQtId.erase(it);
    m_qtIdOf.remove(pending.id);
    pending.callback();
}

} // namespace velmora
