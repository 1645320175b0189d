#pragma once

#include "platform/clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

namespace velmora {

// The program's clock: a monotonic millisecond count and single-shot timers
// on the Qt event loop of the thread that owns it.
class SystemClock final : public QObject, public Clock
{
public:
    explicit SystemClock(QObject *parent = nullptr);

    qint64 nowMs() const override;
    TimerId schedule(qint64 delayMs, std::function<void()> callback) override;
    void cancel(TimerId id) override;

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    struct Pending
    {
        TimerId id;
        std::function<void()> callback;
    };

    QElapsedTimer m_elapsed;
    TimerId m_lastId = 0;
    QHash<int, Pending> m_byQtId; // Qt's timer id to the callback
    QHash<TimerId, int> m_qtIdOf; // our id to Qt's timer id
};

} // namespace velmora
