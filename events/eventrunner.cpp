#include "events/eventrunner.h"

#include "events/eventcommand.h"
#include "platform/clock.h"

#include <QProcess>

#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// One command on its way, with the timer that ends it after the limit.
class CommandProcess : public QProcess
{
public:
    CommandProcess(Clock &clock, const QString &event, QObject *parent)
        : QProcess(parent), limit(clock), event(event)
    {}

    ClockTimer limit;
    QString event;
    bool overTime = false;
};

} // namespace

EventRunner::EventRunner(Clock &clock, std::function<QString(JobEvent)> commandFor,
                         std::function<void(const QString &)> writeLog, QObject *parent)
    : QObject(parent), m_clock(clock), m_commandFor(std::move(commandFor)),
      m_writeLog(std::move(writeLog))
{}

EventRunner::~EventRunner()
{
    // Their ends are no longer reported.
    for (CommandProcess *process : findChildren<CommandProcess *>(Qt::FindDirectChildrenOnly))
        process->disconnect(this);
}

int EventRunner::running() const
{
    return int(findChildren<CommandProcess *>(Qt::FindDirectChildrenOnly).size());
}

void EventRunner::raise(const EventFacts &facts)
{
    const PreparedCommand command = prepareCommand(m_commandFor(facts.event), facts);
    if (command.program.isEmpty())
        return;
    auto *process = new CommandProcess(m_clock, jobEventName(facts.event), this);
    const QString program = command.program;
    const auto report = [this, process, program](const QString &what) {
        m_writeLog(u"Event command for %1 %2: %3"_s.arg(process->event, what, program));
    };
    connect(process, &QProcess::errorOccurred, this, [process, report](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        report(u"cannot be started (%1)"_s.arg(process->errorString()));
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this,
            [process, report](int status, QProcess::ExitStatus how) {
                process->limit.stop();
                if (process->overTime)
                    report(u"ran longer than %1 s and was ended"_s.arg(LimitMs / 1000));
                else if (how == QProcess::CrashExit)
                    report(u"ended abnormally (%1)"_s.arg(process->errorString()));
                else if (status != 0)
                    report(u"ended with status %1"_s.arg(status));
                process->deleteLater();
            });
    process->limit.start(LimitMs, [process] {
        process->overTime = true;
        process->kill();
    });
    process->setProcessEnvironment(
        eventEnvironment(facts, QProcessEnvironment::systemEnvironment()));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, command.arguments);
}

} // namespace velmora
