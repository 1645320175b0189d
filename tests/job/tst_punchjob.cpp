#include "format/holecommandcomposer.h"
#include "format/outputformat.h"
#include "job/joblink.h"
#include "job/punchjob.h"
#include "link/logbook.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace velmora;

namespace {

// The link as the job sees it: readiness and an open port set by the test,
// every hole written recorded with the time it went out, and the sent line
// logged as the link logs it.
class FakeLink final : public JobLink
{
public:
    struct Write
    {
        QString line;
        int hole;
        qint64 atMs;
    };

    FakeLink(const Clock &clock, Logbook &log) : m_clock(clock), m_log(log) {}

    bool clearToSend() const override { return cts; }
    bool sendHoleCommand(const QString &commandLine, int holeNumber, qint32 keynum) override
    {
        if (!portOpen) {
            m_log.WriteLog(QStringLiteral("Not sent, the port is closed"));
            return false;
        }
        writes.append({commandLine, holeNumber, m_clock.nowMs()});
        m_log.WriteLog(QStringLiteral("Sent: %1^    nr: %2 (armpos=%3)")
                           .arg(commandLine)
                           .arg(holeNumber)
                           .arg(keynum),
                       QStringLiteral("s"));
        return true;
    }
    void clearReceived() override { ++clears; }

    QList<int> holes() const
    {
        QList<int> sent;
        for (const Write &write : writes)
            sent.append(write.hole);
        return sent;
    }

    bool cts = true;
    bool portOpen = true;
    QList<Write> writes;
    int clears = 0;

private:
    const Clock &m_clock;
    Logbook &m_log;
};

QList<int> range(int first, int last)
{
    QList<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.append(n);
    return numbers;
}

// A roll of holeCount holes in the built-in Zelvoor format ("$", Y-pos,
// X-next, tracknum), hole n at Y-pos 10 n and keynum 30 + n.
struct Rig
{
    explicit Rig(int holeCount = 20)
    {
        for (int n = 1; n <= holeCount; ++n)
            holes.append(Hole{100 * n, 30 + n, 100 * n + 10, 10 * n, 5, 0, 1});
        composer.setFormat(
            OutputFormat::fromTexts(u"00050701****************", u"01040404****************"));
        nextNote.set(1);
    }

    // Runs the clock until the condition holds; false when it does not
    // within the time.
    bool runUntil(const std::function<bool()> &done, qint64 maxMs = 600000)
    {
        const qint64 end = clock.nowMs() + maxMs;
        while (!done()) {
            const auto due = clock.nextDueMs();
            if (!due || *due > end)
                return false;
            clock.runNext();
        }
        return true;
    }
    bool runUntilWrites(int count)
    {
        return runUntil([this, count] { return link.writes.size() >= count; });
    }
    // Runs the clock until the punching loop has returned and no single
    // punch is on its way.
    void settle()
    {
        QVERIFY(runUntil([this] { return !job.punching() && !job.singlePunchBusy(); }));
    }

    // The log's entries other than the sent lines.
    QStringList messages() const
    {
        QStringList lines = log.text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        lines.removeIf([](const QString &line) { return line.startsWith(QLatin1Char(' ')); });
        return lines;
    }

    VirtualClock clock{1000000};
    HoleList holes;
    HoleCommandComposer composer{holes};
    NextNoteState nextNote;
    Logbook log;
    FakeLink link{clock, log};
    PunchJob job{clock, holes, composer, nextNote, log, link};
};

// The enabled controls by name, in a fixed order.
QString describe(const JobControls &c)
{
    QStringList on;
    const std::pair<bool, const char *> flags[] = {
        {c.start, "start"},        {c.pause, "pause"},         {c.resume, "resume"},
        {c.singlePunch, "1punch"}, {c.stop, "stop"},           {c.exit, "exit"},
        {c.openPort, "openport"},  {c.fileMenu, "file"},       {c.settingsMenu, "settings"},
        {c.testMenu, "tools"},     {c.stopQuestion, "picStop"}};
    for (const auto &[flag, name] : flags) {
        if (flag)
            on << QLatin1String(name);
    }
    return on.join(QLatin1Char(' '));
}

const QString Ready = QStringLiteral("start exit openport file settings tools");
const QString Started = QStringLiteral("resume 1punch stop tools");
const QString Paused = Started;

} // namespace

class TestPunchJob : public QObject
{
    Q_OBJECT
private slots:
    void tables_data();
    void tables();
    void punchesToTheEnd();
    void estimateDuringJob();
    void resumePastTheEndCompletes();
    void timing();
    void readinessReleasesTheHole();
    void pauseWhileWaiting();
    void stopNoResume();
    void stopYesAfter41();
    void controllerStop_data();
    void controllerStop();
    void singlePunch_data();
    void singlePunch();
    void singlePunchDoubleClick();
    void singlePunchPastTheEnd();
    void changedNextNoteDuringPause();
    void passesCountedAtResume();
    void nextNoteChangedWhileWaiting();
    void resumeBeforeLoopNoticedPause();
    void singlePunchWhileLoopFinishesHole();
    void unpluggedPort();
    void sendRefused();
    void compositionError();
};

// Every state of the job as the user sees it, reached by the steps of the
// transition table, with the log lines the steps write.
void TestPunchJob::tables_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("messages");

    const QString started = QStringLiteral("Punching started");
    const QString pressResume = QStringLiteral("Press resume to continue");
    const QString pauseLine = QStringLiteral("Pause, press resume to continue");
    const QString total = QStringLiteral("Total time punched:  0 sec");

    QTest::newRow("start-up") << QString() << Ready << false << 0 << QStringList();
    QTest::newRow("started") << QStringLiteral("start") << Started << true << 0
                             << QStringList{started, pressResume};
    QTest::newRow("punching, before the first hole")
        << QStringLiteral("start resume") << QStringLiteral("stop tools") << true << 0
        << QStringList{started, pressResume};
    QTest::newRow("punching, after the first hole")
        << QStringLiteral("start resume hole") << QStringLiteral("pause stop tools") << true << 0
        << QStringList{started, pressResume};
    QTest::newRow("paused") << QStringLiteral("start resume hole pause settle") << Paused << true
                            << 1 << QStringList{started, pressResume, pauseLine};
    QTest::newRow("paused, resumed")
        << QStringLiteral("start resume hole pause settle resume") << QStringLiteral("stop tools")
        << true << 0 << QStringList{started, pressResume, pauseLine};
    QTest::newRow("stop question from punching")
        << QStringLiteral("start resume hole stop settle") << QStringLiteral("stop tools picStop")
        << true << 1 << QStringList{started, pressResume, pauseLine};
    QTest::newRow("stop question from paused")
        << QStringLiteral("start resume hole pause settle stop")
        << QStringLiteral("resume 1punch stop tools picStop") << true << 1
        << QStringList{started, pressResume, pauseLine};
    QTest::newRow("stop question from started")
        << QStringLiteral("start stop") << QStringLiteral("resume 1punch stop tools picStop")
        << true << 1 << QStringList{started, pressResume};
    QTest::newRow("no") << QStringLiteral("start resume hole stop settle no") << Paused << true << 1
                        << QStringList{started, pressResume, pauseLine};
    QTest::newRow("yes") << QStringLiteral("start resume hole stop settle yes") << Ready << false
                         << 2
                         << QStringList{started, pressResume, pauseLine,
                                        QStringLiteral("Punching stopped by stop-button, last "
                                                       "note punched: 2"),
                                        total};
    QTest::newRow("yes from started")
        << QStringLiteral("start stop yes") << Ready << false << 2
        << QStringList{started, pressResume,
                       QStringLiteral("Punching stopped by stop-button, last note punched: 0"),
                       total};
    QTest::newRow("completed") << QStringLiteral("start resume settle") << Ready << false << 2
                               << QStringList{
                                      started, pressResume,
                                      QStringLiteral("Punching is completed, all notes punched"),
                                      QStringLiteral("Total time punched:  4 sec")};
    QTest::newRow("ready again") << QStringLiteral("start resume settle start") << Started << true
                                 << 0
                                 << QStringList{started,
                                                pressResume,
                                                QStringLiteral("Punching is completed, all "
                                                               "notes punched"),
                                                QStringLiteral("Total time punched:  4 sec"),
                                                started,
                                                pressResume};
    // The link logs the controller's stop line; the job adds its total.
    QTest::newRow("controller stop while punching")
        << QStringLiteral("start resume hole controller") << Ready << false << 2
        << QStringList{started, pressResume, total};
    QTest::newRow("controller stop while paused keeps 1 punch")
        << QStringLiteral("start resume hole pause settle controller")
        << QStringLiteral("start 1punch exit openport file settings tools") << false << 2
        << QStringList{started, pressResume, pauseLine, total};
    // A single punch after that leaves the menus enabled.
    QTest::newRow("1 punch after the end")
        << QStringLiteral("start resume hole pause settle controller 1punch settle")
        << QStringLiteral("start 1punch exit openport file settings tools") << false << 2
        << QStringList{started, pressResume, pauseLine, total};
    QTest::newRow("controller stop without a job")
        << QStringLiteral("controller") << Ready << false << 2 << QStringList();
    // Buttons that are disabled do nothing.
    QTest::newRow("disabled clicks")
        << QStringLiteral("pause resume stop yes no 1punch start start") << Started << true << 0
        << QStringList{started, pressResume};
}

void TestPunchJob::tables()
{
    QFETCH(QString, steps);
    QFETCH(QString, enabled);
    QFETCH(bool, running);
    QFETCH(int, state);
    QFETCH(QStringList, messages);

    Rig rig;
    const QHash<QString, std::function<void()>> actions = {
        {QStringLiteral("start"), [&] { rig.job.cmdStart_Click(); }},
        {QStringLiteral("resume"), [&] { rig.job.cmdResume_Click(); }},
        {QStringLiteral("pause"), [&] { rig.job.cmdPause_Click(); }},
        {QStringLiteral("stop"), [&] { rig.job.cmdStop_Click(); }},
        {QStringLiteral("yes"), [&] { rig.job.cmdStopYes_Click(); }},
        {QStringLiteral("no"), [&] { rig.job.cmdStopNo_Click(); }},
        {QStringLiteral("1punch"), [&] { rig.job.cmd1Note_Click(); }},
        {QStringLiteral("controller"), [&] { rig.job.StopRequested(); }},
        {QStringLiteral("settle"), [&] { rig.settle(); }},
        {QStringLiteral("hole"),
         [&] {
             QVERIFY(rig.runUntilWrites(int(rig.link.writes.size()) + 1));
             rig.clock.advance(PunchJob::AfterMs);
         }},
    };
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        actions.value(step)();

    QCOMPARE(describe(rig.job.controls()), enabled);
    QCOMPARE(rig.job.jobRunning(), running);
    QCOMPARE(rig.job.jobState(), state);
    QCOMPARE(rig.messages(), messages);
}

void TestPunchJob::punchesToTheEnd()
{
    Rig rig(20);
    rig.nextNote.set(17);
    QSignalSpy draws(&rig.job, &PunchJob::drawRoll);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{17, 18, 19, 20}));
    QCOMPARE(rig.link.writes.first().line, QStringLiteral("$,0170,0100,0000"));
    QCOMPARE(rig.messages().at(2), QStringLiteral("Punching is completed, all notes punched"));
    QCOMPARE(rig.nextNote.value(), 1);
    QCOMPARE(rig.nextNote.text(), QStringLiteral(" 1"));
    QCOMPARE(rig.job.remainCaption(), QStringLiteral("Punching stopped"));
    QCOMPARE(draws.size(), 4 + 1); // after every hole, and by the end of the job
    QCOMPARE(rig.link.clears, 1);
    QCOMPARE(rig.clock.pendingCount(), 0);
}

void TestPunchJob::estimateDuringJob()
{
    // At the first tick 10 of 20 holes are sent in 2 s: 9 x 2 / 11 = 1.6.
    Rig rig(20);
    rig.job.cmdStart_Click();
    QCOMPARE(rig.job.remainCaption(), QString());
    rig.clock.advance(60000);
    rig.job.cmdResume_Click();
    rig.clock.advance(2000);
    QCOMPARE(rig.nextNote.value(), 11);
    QCOMPARE(rig.job.remainCaption(), QStringLiteral("Estimated time to go:  2 sec"));
}

void TestPunchJob::resumePastTheEndCompletes()
{
    Rig rig(20);
    rig.nextNote.set(21);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.link.writes.isEmpty());
    QVERIFY(!rig.job.jobRunning());
    QVERIFY(rig.messages().contains(QStringLiteral("Punching is completed, all notes punched")));
}

void TestPunchJob::timing()
{
    Rig rig(10);
    rig.job.cmdStart_Click();
    const qint64 resumedAt = rig.clock.nowMs();
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.writes.size(), 10);
    // Ready at once: the first line goes out 100 ms after the hole's send
    // began, and every later one 200 ms after the one before.
    QCOMPARE(rig.link.writes.first().atMs - resumedAt, PunchJob::SettleMs);
    for (qsizetype i = 1; i < rig.link.writes.size(); ++i)
        QCOMPARE(rig.link.writes.at(i).atMs - rig.link.writes.at(i - 1).atMs,
                 PunchJob::SettleMs + PunchJob::AfterMs);
}

void TestPunchJob::readinessReleasesTheHole()
{
    Rig rig(3);
    rig.link.cts = false;
    rig.job.cmdStart_Click();
    const qint64 resumedAt = rig.clock.nowMs();
    rig.job.cmdResume_Click();
    rig.clock.advance(10000);
    QVERIFY(rig.link.writes.isEmpty());
    QCOMPARE(rig.nextNote.value(), 1);
    // Readiness is tested every 100 ms from 100 ms after the start of the hole.
    rig.clock.advance(50);
    rig.link.cts = true;
    QVERIFY(rig.runUntilWrites(1));
    QCOMPARE(rig.link.writes.first().atMs - resumedAt, 10100);
    QCOMPARE(rig.link.holes(), QList<int>{1});
}

void TestPunchJob::pauseWhileWaiting()
{
    Rig rig(10);
    rig.nextNote.set(4);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    // Pause is enabled once the first hole of this Resume has gone out.
    QVERIFY(!rig.job.controls().pause);
    QVERIFY(rig.runUntilWrites(1));
    rig.link.cts = false;
    rig.clock.advance(500); // hole 5 waits for readiness
    QVERIFY(rig.job.controls().pause);
    rig.job.cmdPause_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), QList<int>{4});
    QCOMPARE(rig.nextNote.value(), 5);
    QCOMPARE(rig.messages().last(), QStringLiteral("Pause, press resume to continue"));
    rig.link.cts = true;
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), range(4, 10));
}

void TestPunchJob::stopNoResume()
{
    Rig rig(12);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(3));
    rig.job.cmdStop_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), range(1, 3));
    rig.clock.advance(60000);
    rig.job.cmdStopNo_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(4));
    QCOMPARE(rig.link.writes.at(3).hole, 4);
    // The minute of the stop question is not punching time.
    QVERIFY(rig.job.timer().punchingTime() < 2);
    rig.settle();
    QCOMPARE(rig.link.holes(), range(1, 12));
}

void TestPunchJob::stopYesAfter41()
{
    Rig rig(50);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(41));
    rig.job.cmdStop_Click();
    rig.settle();
    rig.job.cmdStopYes_Click();
    QCOMPARE(rig.link.writes.size(), 41);
    QVERIFY(rig.messages().contains(
        QStringLiteral("Punching stopped by stop-button, last note punched: 41")));
    QCOMPARE(rig.nextNote.value(), 1);
    QCOMPARE(rig.job.remainCaption(), QStringLiteral("Punching stopped"));
    rig.clock.advance(5000);
    QCOMPARE(rig.link.writes.size(), 41);
}

// The controller's stop ends the job at once; the hole on its way is given up.
void TestPunchJob::controllerStop_data()
{
    QTest::addColumn<bool>("job");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("laterMs"); // from the last write, or from Resume
    QTest::newRow("while waiting for readiness") << true << false << 0 << 250;
    QTest::newRow("while a ready hole settles") << true << true << 3 << 150;
    QTest::newRow("after a hole") << true << true << 3 << 50;
    QTest::newRow("no job") << false << true << 0 << 0;
}

void TestPunchJob::controllerStop()
{
    QFETCH(bool, job);
    QFETCH(bool, ready);
    QFETCH(int, sent);
    QFETCH(int, laterMs);
    Rig rig(10);
    rig.link.cts = ready;
    if (job) {
        rig.job.cmdStart_Click();
        rig.job.cmdResume_Click();
        QVERIFY(rig.runUntilWrites(sent));
        rig.clock.advance(laterMs);
    }
    rig.job.StopRequested();
    QVERIFY(!rig.job.jobRunning());
    QCOMPARE(rig.job.jobState(), int(PunchJob::Ended));
    QCOMPARE(rig.job.remainCaption(), QStringLiteral("Punching stopped"));
    QCOMPARE(rig.nextNote.value(), 1);
    QCOMPARE(rig.link.clears, 1);
    rig.link.cts = true;
    rig.clock.advance(10000);
    QCOMPARE(rig.link.writes.size(), sent);
    QVERIFY(!rig.messages().contains(QStringLiteral("Pause, press resume to continue")));
    QCOMPARE(rig.clock.pendingCount(), 0);
}

// "1 punch" sends the next hole once the controller is ready, and gives up
// when it is not and the job is not at "go".
void TestPunchJob::singlePunch_data()
{
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QList<int>>("sent");
    QTest::newRow("started, ready") << false << true << QList<int>{7};
    QTest::newRow("started, waits for readiness") << false << false << QList<int>{7};
    QTest::newRow("paused, ready") << true << true << QList<int>{7};
    QTest::newRow("paused, not ready") << true << false << QList<int>();
}

void TestPunchJob::singlePunch()
{
    QFETCH(bool, paused);
    QFETCH(bool, ready);
    QFETCH(QList<int>, sent);
    Rig rig(10);
    rig.nextNote.set(7);
    rig.job.cmdStart_Click();
    if (paused) {
        rig.job.cmdStop_Click();
        rig.job.cmdStopNo_Click();
    }
    rig.link.cts = ready;
    const qint64 clickedAt = rig.clock.nowMs();
    rig.job.cmd1Note_Click();
    rig.clock.advance(1000);
    if (!ready)
        rig.link.cts = true;
    rig.settle();
    QCOMPARE(rig.link.holes(), sent);
    if (ready && !sent.isEmpty())
        QCOMPARE(rig.link.writes.first().atMs - clickedAt, PunchJob::SettleMs);
    QCOMPARE(rig.nextNote.value(), 7 + int(sent.size()));
    QVERIFY(!rig.job.singlePunchBusy());
    QCOMPARE(describe(rig.job.controls()), QStringLiteral("resume 1punch stop tools"));
}

void TestPunchJob::singlePunchDoubleClick()
{
    Rig rig(10);
    rig.job.cmdStart_Click();
    rig.job.cmd1Note_Click();
    rig.clock.advance(50);
    rig.job.cmd1Note_Click();
    QVERIFY(rig.job.singlePunchBusy());
    // Resume waits for the single punch.
    QVERIFY(!rig.job.controls().resume);
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), QList<int>{1});
    QVERIFY(!rig.job.singlePunchBusy());
    QVERIFY(rig.job.controls().resume);
    QCOMPARE(rig.nextNote.value(), 2);
}

void TestPunchJob::singlePunchPastTheEnd()
{
    Rig rig(20);
    rig.job.cmdStart_Click();
    rig.nextNote.set(21);
    rig.job.cmd1Note_Click();
    rig.settle();
    QVERIFY(rig.link.writes.isEmpty());
    QCOMPARE(rig.nextNote.value(), 21);
    QCOMPARE(rig.messages().last(),
             QStringLiteral("1 punch refused, no note 21 in this roll of 20 notes"));
    QVERIFY(!rig.job.singlePunchBusy());
}

void TestPunchJob::changedNextNoteDuringPause()
{
    Rig rig(20);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(3));
    rig.job.cmdPause_Click();
    rig.settle();
    rig.nextNote.set(10);
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{1, 2, 3} + range(10, 20)));
    QVERIFY(!rig.job.jobRunning());
}

void TestPunchJob::passesCountedAtResume()
{
    // Resumed at 15 of 20: six passes, whatever nextNote does meanwhile.
    Rig rig(20);
    rig.nextNote.set(15);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(2));
    rig.nextNote.set(5);
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{15, 16, 5, 6, 7, 8}));
    QVERIFY(rig.messages().contains(QStringLiteral("Punching is completed, all notes punched")));
}

void TestPunchJob::nextNoteChangedWhileWaiting()
{
    // The line that goes out is the line of the hole nextNote names when it
    // goes, and the log names that hole.
    Rig rig(20);
    rig.link.cts = false;
    rig.job.cmdStart_Click();
    rig.job.cmd1Note_Click();
    rig.clock.advance(250);
    rig.nextNote.set(12);
    rig.link.cts = true;
    rig.settle();
    QCOMPARE(rig.link.holes(), QList<int>{12});
    QCOMPARE(rig.link.writes.first().line, QStringLiteral("$,0120,0100,0000"));
    QCOMPARE(rig.nextNote.value(), 13);
}

void TestPunchJob::resumeBeforeLoopNoticedPause()
{
    // Pause and Resume within one hole: the loop goes on; no hole goes out
    // twice or is skipped, and nothing is paused.
    Rig rig(8);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(2));
    rig.job.cmdPause_Click();
    rig.clock.advance(50);
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(3));
    rig.clock.advance(150);
    rig.job.cmdPause_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(4));
    QVERIFY(rig.clock.runNext()); // hole 4 done, hole 5 not yet begun
    rig.job.cmdPause_Click();
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), range(1, 8));
    QVERIFY(!rig.messages().contains(QStringLiteral("Pause, press resume to continue")));
    QVERIFY(!rig.job.jobRunning());
}

void TestPunchJob::singlePunchWhileLoopFinishesHole()
{
    // "1 punch" right after Pause, while the loop still sends its hole: the
    // single punch follows that hole instead of racing it.
    Rig rig(8);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(2));
    rig.clock.advance(150); // the third hole is composed and settling
    rig.job.cmdPause_Click();
    rig.job.cmd1Note_Click();
    QVERIFY(!rig.job.controls().resume);
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(rig.nextNote.value(), 5);
    QVERIFY(rig.job.controls().resume);
}

void TestPunchJob::unpluggedPort()
{
    Rig rig(10);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(3));
    rig.clock.advance(150); // hole 4 is settling
    rig.link.portOpen = false;
    rig.link.cts = false;
    rig.job.portLost();
    QCOMPARE(rig.messages().last(), QStringLiteral("Port lost, punching paused, next note: 4"));
    QCOMPARE(rig.job.jobState(), int(PunchJob::Paused));
    // "Open port" is offered so the lost port can be opened again.
    QVERIFY(rig.job.controls().openPort);
    rig.settle();
    QCOMPARE(rig.messages().last(), QStringLiteral("Pause, press resume to continue"));
    QCOMPARE(rig.nextNote.value(), 4);

    rig.job.portRestored();
    QCOMPARE(describe(rig.job.controls()), Paused);
    rig.link.portOpen = true;
    rig.link.cts = true;
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), range(1, 10));
}

void TestPunchJob::sendRefused()
{
    // The port closed without notice and readiness not yet cleared: the
    // refused hole stays the next one and the job pauses.
    Rig rig(10);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    QVERIFY(rig.runUntilWrites(2));
    rig.link.portOpen = false;
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{1, 2}));
    QCOMPARE(rig.nextNote.value(), 3);
    QCOMPARE(rig.job.jobState(), int(PunchJob::Paused));
    QCOMPARE(rig.messages().mid(rig.messages().size() - 2),
             (QStringList{QStringLiteral("Not sent, the port is closed"),
                          QStringLiteral("Pause, press resume to continue")}));
}

void TestPunchJob::compositionError()
{
    // Hole 3 lies beyond what the Y field can hold once scaled: it is never
    // sent; the job pauses there until the calibration is put right.
    Rig rig(5);
    rig.holes.clear();
    for (int n = 1; n <= 5; ++n)
        rig.holes.append(Hole{100 * n, 30 + n, 0, n == 3 ? 2000000000 : 10 * n, 5, 0, 1});
    rig.composer.setYCalibration(2000.0f);
    rig.job.cmdStart_Click();
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), (QList<int>{1, 2}));
    QCOMPARE(rig.nextNote.value(), 3);
    QCOMPARE(rig.job.jobState(), int(PunchJob::Paused));
    const QStringList messages = rig.messages();
    QCOMPARE(messages.mid(messages.size() - 2),
             (QStringList{rig.composer.ComposeHoleCommand(3).error,
                          QStringLiteral("Pause, press resume to continue")}));

    rig.composer.setYCalibration(1000.0f);
    rig.job.cmdResume_Click();
    rig.settle();
    QCOMPARE(rig.link.holes(), range(1, 5));
}

QTEST_APPLESS_MAIN(TestPunchJob)
#include "tst_punchjob.moc"
