#include "platform/clock.h"

#include <QtDebug>

#include <utility>

namespace velmora {

VirtualClock::VirtualClock(qint64 startMs) : m_now(startMs) {}

TimerId VirtualClock::schedule(qint64 delayMs, std::function<void()> callback)
{
    const TimerId id = ++m_lastId;
    const qint64 due = m_now + qMax<qint64>(delayMs, 0);
    m_pending.emplace(Key{due, id}, std::move(callback));
    m_dueOf.emplace(id, due);
    return id;
}

void VirtualClock::cancel(TimerId id)
{
    const auto it = m_dueOf.find(id);
    if (it == m_dueOf.end())
        return;
    m_pending.erase(Key{it->second, id});
    m_dueOf.erase(it);
}

std::optional<qint64> VirtualClock::nextDueMs() const
{
    if (m_pending.empty())
        return std::nullopt;
    return m_pending.begin()->first.first;
}

bool VirtualClock::runNext()
{
    if (m_pending.empty())
        return false;
    auto node = m_pending.extract(m_pending.begin());
    m_dueOf.erase(node.key().second);
    m_now = qMax(m_now, node.key().first);
    node.mapped()();
    return true;
}

// Runs the callbacks due at or before limit; false when the callback limit
// was reached first.
bool VirtualClock::runDueUntil(qint64 limit)
{
    if (m_running) {
        qWarning("VirtualClock: time cannot be moved from inside a callback");
        return false;
    }
    m_running = true;
    int count = 0;
    bool finished = true;
    while (!m_pending.empty() && m_pending.begin()->first.first <= limit) {
        if (++count > MaxCallbacksPerCall) {
            qWarning("VirtualClock: more than %d callbacks in one step, stopped",
                     MaxCallbacksPerCall);
            finished = false;
            break;
        }
        runNext();
    }
    m_running = false;
    return finished;
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_now + qMax<qint64>(ms, 0);
    if (runDueUntil(target))
        m_now = target;
}

bool VirtualClock::runUntilIdle(qint64 maxMs)
{
    const qint64 limit = m_now + qMax<qint64>(maxMs, 0);
    if (!runDueUntil(limit))
        return false;
    if (m_pending.empty())
        return true;
    m_now = limit;
    return false;
}

ClockTimer::ClockTimer(Clock &clock) : m_clock(clock) {}

ClockTimer::~ClockTimer()
{
    stop();
}

void ClockTimer::start(qint64 delayMs, std::function<void()> callback)
{
    stop();
    m_interval = 0;
    m_callback = std::move(callback);
    m_id = m_clock.schedule(delayMs, [this] { fire(); });
}

void ClockTimer::startRepeating(qint64 intervalMs, std::function<void()> callback)
{
    stop();
    m_interval = qMax<qint64>(intervalMs, 1);
    m_callback = std::move(callback);
    m_id = m_clock.schedule(m_interval, [this] { fire(); });
}

void ClockTimer::stop()
{
    if (m_id != 0)
        m_clock.cancel(m_id);
    m_id = 0;
}

void ClockTimer::fire()
{
    // The callback may restart, stop or destroy this timer: it runs from a
    // local copy and nothing of this object is touched after it.
    if (m_interval > 0) {
        m_id = m_clock.schedule(m_interval, [this] { fire(); });
        const auto callback = m_callback;
        callback();
    } else {
        m_id = 0;
        const auto callback = std::move(m_callback);
        callback();
    }
}

} // namespace velmora
