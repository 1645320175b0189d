#include "events/eventcommand.h"
#include "events/eventrunner.h"
#include "platform/clock.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// A roll whose name a shell would take for commands.
const EventFacts Facts{JobEvent::PortLost,
                       u"/rolls/wals in G;1.prt"_s,
                       u"a;touch x;$(touch y) \"Grüß\" %hole"_s,
                       41,
                       473,
                       40};

} // namespace

class TestEvents : public QObject
{
    Q_OBJECT
private slots:
    // The command line split as QProcess splits it, then the facts put into
    // each argument; what the facts bring in is never split or read again.
    void commandLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        const QString name = Facts.name;
        QTest::newRow("each placeholder")
            << u"notify %event %roll %name %hole %holes %sent"_s
            << QStringList{u"notify"_s, u"port-lost"_s, Facts.roll, name,
                           u"41"_s,     u"473"_s,       u"40"_s};
        QTest::newRow("within words, %% and unknown ones")
            << u"curl -d \"text=%name, hole %hole/%holes\" 100%% %x %"_s
            << QStringList{u"curl"_s, u"-d"_s, u"text=%1, hole 41/473"_s.arg(name),
                           u"100%"_s, u"%x"_s, u"%"_s};
        QTest::newRow("quotes of the line")
            << u"\"my prog\" \"\"\"%sent\"\"\""_s << QStringList{u"my prog"_s, u"\"40\""_s};
        QTest::newRow("blank") << u"  "_s << QStringList{};
    }

    void commandLines()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        const PreparedCommand command = prepareCommand(line, Facts);
        QCOMPARE(QStringList(command.program) + command.arguments,
                 words.isEmpty() ? QStringList{QString()} : words);
        const QProcessEnvironment env = eventEnvironment(Facts, {});
        QCOMPARE(env.value(u"VELMORA_NAME"_s), Facts.name);
        QCOMPARE(env.value(u"VELMORA_HOLES"_s), u"473"_s);
    }

    // What becomes of a command shows in the log: a line for each failure,
    // none for success or no command. A hanging one is ended after a minute
    // of the clock, not before.
    void runner_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("logged");
        QTest::newRow("succeeds") << u"true"_s << QString();
        QTest::newRow("no command") << QString() << QString();
        QTest::newRow("fails") << u"false --x"_s
                               << u"Event command for port-lost ended with status 1: false"_s;
        QTest::newRow("cannot start")
            << u"/nonexistent/notify"_s
            << u"Event command for port-lost cannot be started (*): /nonexistent/notify"_s;
        QTest::newRow("hangs")
            << u"sleep 600"_s
            << u"Event command for port-lost ran longer than 60 s and was ended: sleep"_s;
    }

    void runner()
    {
        QFETCH(QString, command);
        QFETCH(QString, logged);
        VirtualClock clock;
        QStringList log;
        EventRunner runner(
            clock, [&](JobEvent) { return command; }, [&](const QString &line) { log << line; });
        runner.raise(Facts);
        QCOMPARE(runner.running(), command.isEmpty() ? 0 : 1);
        if (command.startsWith(u"sleep"_s)) {
            QTest::qWait(300);
            clock.advance(EventRunner::LimitMs - 1);
            QCOMPARE(runner.running(), 1);
            clock.advance(1);
        }
        QTRY_COMPARE(runner.running(), 0);
        QCOMPARE(log.size(), logged.isEmpty() ? 0 : 1);
        // "*" stands for the system's reason.
        if (!logged.isEmpty())
            QVERIFY2(log.first().startsWith(logged.section(u'*', 0, 0)) &&
                         log.first().endsWith(logged.section(u'*', -1)),
                     qPrintable(log.first()));
    }
};

QTEST_GUILESS_MAIN(TestEvents)
#include "tst_events.moc"
