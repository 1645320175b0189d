#pragma once

#include "events/jobevent.h"

#include <QObject>
#include <QString>

#include <functional>

namespace velmora {

class Clock;

// Runs the operator's command of an event, fire and forget: the command
// starts as a process of its own (never through a shell) with the job's facts
// in its arguments and environment, and nothing waits for it. Its input is
// empty and its output goes where the program's own goes. A command still
// running after a minute is ended. A command that cannot start, ends with a
// status other than 0 or has to be ended costs one log line; an event without
// a command does nothing.
class EventRunner : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 LimitMs = 60000;

    // commandFor gives the command line of an event, empty for none.
    EventRunner(Clock &clock, std::function<QString(JobEvent)> commandFor,
                std::function<void(const QString &)> writeLog, QObject *parent = nullptr);
    // Commands still running end with the program.
    ~EventRunner() override;

    // Starts the command of facts.event, if there is one.
    void raise(const velmora::EventFacts &facts);

    // Commands started and not yet ended.
    int running() const;

private:
    Clock &m_clock;
    std::function<QString(JobEvent)> m_commandFor;
    std::function<void(const QString &)> m_writeLog;
};

} // namespace velmora
