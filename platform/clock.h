#pragma once

#include <QtGlobal>

#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

namespace velmora {

// Names one scheduled callback; 0 names none.
using TimerId = quint64;

// The time and timer service of the program. Everything runs on one thread:
// callbacks run from the event loop (or from VirtualClock::advance), never
// from inside schedule() or cancel().
class Clock
{
public:
    virtual ~Clock() = default;

    // Milliseconds on a monotonic scale; only differences are meaningful.
    virtual qint64 nowMs() const = 0;

    // Runs the callback once, delayMs from now (a negative delay counts as 0).
    // Callbacks due at the same time run in the order they were scheduled.
    virtual TimerId schedule(qint64 delayMs, std::function<void()> callback) = 0;

    // Forgets a callback that has not run yet; unknown, finished and
    // cancelled ids are ignored.
    virtual void cancel(TimerId id) = 0;
};

// A test clock that only moves when told to. Time starts at startMs and
// callbacks run inside advance(), runNext() and runUntilIdle(), in the order
// of their due time, then of their scheduling.
class VirtualClock final : public Clock
{
public:
    // Callbacks one call of advance() or runUntilIdle() runs at most; a
    // callback that keeps rescheduling itself at the same time is stopped there.
    static constexpr int MaxCallbacksPerCall = 1000000;

    explicit VirtualClock(qint64 startMs = 0);

    qint64 nowMs() const override { return m_now; }
    TimerId schedule(qint64 delayMs, std::function<void()> callback) override;
    void cancel(TimerId id) override;

    // Runs every callback due within the next ms milliseconds, including those
    // that callbacks schedule inside that span, moving nowMs() to each one's
    // due time before it runs; nowMs() then ends ms later than it started.
    void advance(qint64 ms);

    // Moves to the earliest pending callback and runs it; false when none.
    bool runNext();

    // Runs callbacks until none is pending or the next is due more than maxMs
    // from now. True when nothing is pending any more; otherwise nowMs() has
    // moved on by maxMs.
    bool runUntilIdle(qint64 maxMs);

    int pendingCount() const { return int(m_pending.size()); }
    std::optional<qint64> nextDueMs() const;

private:
    using Key = std::pair<qint64, TimerId>; // due time, then scheduling order

    bool runDueUntil(qint64 limit);

    qint64 m_now;
    TimerId m_lastId = 0;
    bool m_running = false;
    std::map<Key, std::function<void()>> m_pending;
    std::unordered_map<TimerId, qint64> m_dueOf;
};

// One timer on a Clock, single-shot or repeating, cancelled when it is
// destroyed. Starting it again replaces what was scheduled. The callback may
// stop, restart or destroy the timer.
class ClockTimer
{
public:
    explicit ClockTimer(Clock &clock);
    ~ClockTimer();
    ClockTimer(const ClockTimer &) = delete;
    ClockTimer &operator=(const ClockTimer &) = delete;

    void start(qint64 delayMs, std::function<void()> callback);
    // Runs the callback every intervalMs (at least 1), the first time
    // intervalMs from now.
    void startRepeating(qint64 intervalMs, std::function<void()> callback);
    void stop();
    bool isActive() const { return m_id != 0; }

private:
    void fire();

    Clock &m_clock;
    TimerId m_id = 0;
    qint64 m_interval = 0; // 0 for a single shot
    std::function<void()> m_callback;
};

} // namespace velmora
