#include "format/holecommandcomposer.h"
#include "format/outputformat.h"
#include "job/joblink.h"
#include "job/punchjob.h"
#include "link/logbook.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// The link as the job sees it: readiness and an open port set by the test,
// every hole written recorded with the time it went out, the line logged as
// the link logs it.
class FakeLink final : public JobLink
{
public:
    FakeLink(const Clock &clock, Logbook &log) : m_clock(clock), m_log(log) {}

    bool clearToSend() const override { return cts; }
    bool sendHoleCommand(const QString &line, int hole, qint32 keynum) override
    {
        if (!portOpen) {
            m_log.writeLog(u"Not sent, the port is closed"_s);
            return false;
        }
        lines << line;
        holes << hole;
        cts = cts && !busyAfterSend;
        times << m_clock.nowMs();
        m_log.writeLog(u"Sent: %1^    nr: %2 (armpos=%3)"_s.arg(line).arg(hole).arg(keynum),
                       u"s"_s);
        return true;
    }
    void clearReceived() override { ++clears; }
    void writeLog(const QString &message) override { m_log.writeLog(message); }

    bool cts = true;
    bool portOpen = true;
    bool busyAfterSend = false; // the controller is busy after each hole until ready again
    QStringList lines;
    QList<int> holes;
    QList<qint64> times;
    int clears = 0;

private:
    const Clock &m_clock;
    Logbook &m_log;
};

// Hole numbers in runs: "1-3 10 12-20".
QString runs(const QList<int> &holes)
{
    QStringList out;
    for (qsizetype i = 0, j = 0; i < holes.size(); i = ++j) {
        while (j + 1 < holes.size() && holes[j + 1] == holes[j] + 1)
            ++j;
        out << (i == j ? QString::number(holes[i]) : u"%1-%2"_s.arg(holes[i]).arg(holes[j]));
    }
    return out.join(u' ');
}

// The enabled controls by name, in a fixed order.
QString describe(const JobControls &c)
{
    const bool flags[] = {c.start,        c.pause,    c.resume,      c.singlePunch,
                          c.stop,         c.exit,     c.openPort,    c.fileMenu,
                          c.settingsMenu, c.testMenu, c.stopQuestion};
    const QStringList names =
        u"start pause resume 1punch stop exit openport file settings tools picStop"_s.split(u' ');
    QStringList on;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (flags[i])
            on << names[i];
    }
    return on.join(u' ');
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
        return runUntil([this, count] { return link.holes.size() >= count; });
    }

    // Plays the steps, separated by blanks: the buttons; "controller" (its
    // stop); "settle" (until the loop has returned and no single punch is on
    // its way); "hole" (one more hole written and done); "writes=N";
    // "wait=MS"; "step" (one timer); "next=N"; "ready"/"notready";
    // "lost"/"restored" (the port, with notice) and "closed" (without);
    // "sent=RUNS" and "on=A,B" check the holes written and the controls.
    void play(const char *steps) { play(QString::fromLatin1(steps)); }
    void play(const QString &steps)
    {
        int n = 0;
        QString arg;
        const auto port = [&](bool open) {
            link.portOpen = link.cts = open;
            open ? job.portRestored() : job.portLost();
        };
        const QHash<QString, std::function<void()>> actions = {
            {u"start"_s, [&] { job.start(); }},
            {u"resume"_s, [&] { job.resume(); }},
            {u"pause"_s, [&] { job.pause(); }},
            {u"stop"_s, [&] { job.requestStop(); }},
            {u"yes"_s, [&] { job.confirmStop(); }},
            {u"no"_s, [&] { job.cancelStop(); }},
            {u"1punch"_s, [&] { job.punchOne(); }},
            {u"controller"_s, [&] { job.stopRequested(); }},
            {u"settle"_s,
             [&] { QVERIFY(runUntil([&] { return !job.punching() && !job.singlePunchBusy(); })); }},
            {u"hole"_s,
             [&] {
                 QVERIFY(runUntilWrites(int(link.holes.size()) + 1));
                 clock.advance(PunchJob::AfterMs);
             }},
            {u"writes"_s, [&] { QVERIFY(runUntilWrites(n)); }},
            {u"wait"_s, [&] { clock.advance(n); }},
            {u"step"_s, [&] { QVERIFY(clock.runNext()); }},
            {u"next"_s, [&] { nextNote.set(n); }},
            {u"ready"_s, [&] { link.cts = true; }},
            {u"notready"_s, [&] { link.cts = false; }},
            {u"lost"_s, [&] { port(false); }},
            {u"restored"_s, [&] { port(true); }},
            {u"closed"_s, [&] { link.portOpen = false; }},
            {u"sent"_s, [&] { QCOMPARE(runs(link.holes), arg); }},
            {u"on"_s,
             [&] { QCOMPARE(describe(job.controls()), QString(arg).replace(u',', u' ')); }},
        };
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            arg = step.section(u'=', 1);
            n = arg.toInt();
            QVERIFY2(actions.contains(step.section(u'=', 0, 0)), qPrintable(step));
            actions.value(step.section(u'=', 0, 0))();
        }
    }

    // The log's entries other than the sent lines.
    QStringList messages() const
    {
        QStringList lines = log.text().split(u"\r\n"_s, Qt::SkipEmptyParts);
        lines.removeIf([](const QString &line) { return line.startsWith(u' '); });
        return lines;
    }

    VirtualClock clock{1000000};
    HoleList holes;
    HoleCommandComposer composer{holes};
    NextNoteState nextNote;
    Logbook log;
    FakeLink link{clock, log};
    PunchJob job{clock, holes, composer, nextNote, link};
};

const QString Ready = u"start exit openport file settings tools"_s;
const QString Started = u"resume 1punch stop tools"_s;
const QString Paused = Started;
const QString S = u"Punching started"_s;
const QString R = u"Press resume to continue"_s;
const QString P = u"Pause, press resume to continue"_s;
const QString C = u"Punching is completed, all notes punched"_s;
QString total(int seconds)
{
    return u"Total time punched:  %1 sec"_s.arg(seconds);
}

} // namespace

class TestPunchJob : public QObject
{
    Q_OBJECT
private slots:
    void tables_data();
    void tables();
    void scenarios_data();
    void scenarios();
    void estimateDuringJob_data();
    void estimateDuringJob();
    void timing();
    void compositionError();
    void randomRuns();
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
    const auto row = [](const char *name, const char *steps, const QString &enabled, bool running,
                        int state, const QStringList &messages) {
        QTest::newRow(name) << QString::fromLatin1(steps) << enabled << running << state
                            << messages;
    };
    const QString stopped = u"Punching stopped by stop-button, last note punched: %1"_s;

    row("start-up", "", Ready, false, 0, {});
    row("started", "start", Started, true, 0, {S, R});
    row("punching, before the first hole", "start resume", u"stop tools"_s, true, 0, {S, R});
    row("punching, after the first hole", "start resume hole", u"pause stop tools"_s, true, 0,
        {S, R});
    row("paused", "start resume hole pause settle", Paused, true, 1, {S, R, P});
    row("stop question from punching", "start resume hole stop settle", u"stop tools picStop"_s,
        true, 1, {S, R, P});
    row("stop question from paused", "start resume hole pause settle stop",
        u"resume 1punch stop tools picStop"_s, true, 1, {S, R, P});
    row("stop question from started", "start stop", u"resume 1punch stop tools picStop"_s, true, 1,
        {S, R});
    row("no", "start resume hole stop settle no", Paused, true, 1, {S, R, P});
    row("yes", "start resume hole stop settle yes", Ready, false, 2,
        {S, R, P, stopped.arg(2), total(0)});
    row("yes from started", "start stop yes", Ready, false, 2, {S, R, stopped.arg(0), total(0)});
    row("completed", "start resume settle", Ready, false, 2, {S, R, C, total(4)});
    row("ready again", "start resume settle start", Started, true, 0, {S, R, C, total(4), S, R});
    // The link logs the controller's stop line; the job adds its total.
    row("controller stop while punching", "start resume hole controller", Ready, false, 2,
        {S, R, total(0)});
    row("controller stop while paused keeps 1 punch", "start resume hole pause settle controller",
        u"start 1punch exit openport file settings tools"_s, false, 2, {S, R, P, total(0)});
    // A single punch after that leaves the menus enabled.
    row("1 punch after the end", "start resume hole pause settle controller 1punch settle",
        u"start 1punch exit openport file settings tools"_s, false, 2, {S, R, P, total(0)});
    row("controller stop without a job", "controller", Ready, false, 2, {});
    // Resume stays off while a single punch is on its way.
    row("1 punch on its way", "start 1punch", u"1punch stop tools"_s, true, 0, {S, R});
    // Buttons that are disabled do nothing.
    row("disabled clicks", "pause resume stop yes no 1punch start start", Started, true, 0, {S, R});
}

void TestPunchJob::tables()
{
    QFETCH(QString, steps);
    QFETCH(QString, enabled);
    QFETCH(bool, running);
    QFETCH(int, state);
    QFETCH(QStringList, messages);
    Rig rig;
    rig.play(steps);
    QCOMPARE(describe(rig.job.controls()), enabled);
    QCOMPARE(rig.job.jobRunning(), running);
    QCOMPARE(rig.job.jobState(), state);
    QCOMPARE(rig.messages(), messages);
    // An ended job has dropped the received text and left no timer.
    if (state == PunchJob::Ended) {
        QCOMPARE(rig.job.remainCaption(), u"Punching stopped"_s);
        QCOMPARE(rig.link.clears, 1);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }
}

// Longer runs: which holes went out, in which order, and what was logged.
// Every line written is the composed line of the hole it names.
void TestPunchJob::scenarios_data()
{
    QTest::addColumn<int>("holeCount");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("next");
    QTest::addColumn<QStringList>("messages");
    const auto row = [](const char *name, int holeCount, const char *steps, const char *sent,
                        int next, const QStringList &messages) {
        QTest::newRow(name) << holeCount << QString::fromLatin1(steps) << QString::fromLatin1(sent)
                            << next << messages;
    };
    row("resume past the end completes", 20, "next=21 start resume", "", 1, {S, R, C, total(0)});
    // The hole waiting for readiness is given up, and is the first after Resume.
    row("pause while waiting", 10,
        "next=4 start resume writes=1 notready wait=500 pause settle sent=4 ready resume settle",
        "4-10", 1, {S, R, P, C, total(2)});
    // The minute of the stop question is not punching time.
    row("stop, no, resume", 12,
        "start resume writes=3 stop settle sent=1-3 wait=60000 no resume settle", "1-12", 1,
        {S, R, P, C, total(1)});
    row("changed next note during a pause", 20,
        "start resume writes=3 pause settle next=10 resume settle", "1-3 10-20", 1,
        {S, R, P, C, total(2)});
    // A next note chosen while punching is followed to the end of the roll.
    row("next note chosen while punching", 20, "next=15 start resume writes=2 next=5 settle",
        "15-16 5-20", 1, {S, R, C, total(4)});
    // Pause while a hole waits for readiness, Resume before the loop has
    // noticed: the hole given up is the next one sent, and none is lost.
    row("resume right after a hole was given up", 10,
        "start resume writes=2 notready wait=150 pause wait=100 resume ready settle", "1-10", 1,
        {S, R, C, total(1)});
    // Pause and Resume within one hole: the loop goes on.
    row("resume before the loop noticed the pause", 8,
        "start resume writes=2 pause wait=50 resume writes=3 wait=150 pause resume writes=4 step "
        "pause resume settle",
        "1-8", 1, {S, R, C, total(2)});

    // "1 punch" sends the next hole once the controller is ready, and gives up
    // when it is not and the job is not at "go".
    row("1 punch", 10, "next=7 start 1punch wait=1000 settle", "7", 8, {S, R});
    row("1 punch while paused", 10, "next=7 start stop no 1punch wait=1000 settle", "7", 8, {S, R});
    row("1 punch while paused, not ready", 10,
        "next=7 start stop no notready 1punch wait=1000 ready settle", "", 7, {S, R});
    row("1 punch double click", 10,
        "start 1punch wait=50 1punch resume settle on=resume,1punch,stop,tools", "1", 2, {S, R});
    row("1 punch past the end", 20, "start next=21 1punch settle", "", 21,
        {S, R, u"1 punch refused, no note 21 in this roll of 20 notes"_s});
    // The line that goes out is that of the hole nextNote names when it goes.
    row("next note changed while waiting", 20,
        "notready start 1punch wait=250 next=12 ready settle", "12", 13, {S, R});
    // "1 punch" right after Pause, while the loop still sends its hole: the
    // single punch follows that hole instead of racing it.
    row("1 punch while the loop finishes its hole", 8,
        "start resume writes=2 wait=150 pause 1punch on=1punch,stop,tools settle "
        "on=resume,1punch,stop,tools",
        "1-4", 5, {S, R, P});

    // A lost port pauses the job at the hole not yet sent; "Open port" is
    // offered until the port is back.
    row("unplugged port", 10,
        "start resume writes=3 wait=150 lost on=resume,1punch,stop,openport,tools settle sent=1-3 "
        "restored on=resume,1punch,stop,tools resume settle",
        "1-10", 1, {S, R, u"Port lost, punching paused, next note: 4"_s, P, C, total(2)});
    // The controller's stop ends the job at once; the hole on its way is
    // given up, also once the controller is ready again.
    row("controller stop while waiting for readiness", 10,
        "notready start resume wait=250 controller ready wait=10000", "", 1, {S, R, total(0)});
    row("controller stop after a hole", 10, "start resume writes=3 wait=50 controller wait=10000",
        "1-3", 1, {S, R, total(1)});
    // A controller that never becomes ready: only Stop is offered before a
    // hole went out, and it still ends the job.
    row("never ready", 10,
        "notready start resume wait=3600000 on=stop,tools stop settle no stop yes", "", 1,
        {S, R, P, u"Punching stopped by stop-button, last note punched: 0"_s,
         u"Total time punched:  1 hrs,  0 min"_s});
    // The port closed without notice: the refused hole stays the next one.
    row("send refused", 10, "start resume writes=2 closed settle on=resume,1punch,stop,tools",
        "1-2", 3, {S, R, u"Not sent, the port is closed"_s, P});
}

void TestPunchJob::scenarios()
{
    QFETCH(int, holeCount);
    QFETCH(QString, steps);
    QFETCH(QString, sent);
    QFETCH(int, next);
    QFETCH(QStringList, messages);
    Rig rig(holeCount);
    rig.play(steps);
    QCOMPARE(runs(rig.link.holes), sent);
    QCOMPARE(rig.nextNote.value(), next);
    QCOMPARE(rig.messages(), messages);
    for (qsizetype i = 0; i < rig.link.holes.size(); ++i)
        QCOMPARE(rig.link.lines[i], rig.composer.composeHoleCommand(rig.link.holes[i]).text);
    // A job that has ended has received text dropped, the caption set and no
    // timer left.
    QCOMPARE(rig.link.clears, rig.job.jobRunning() ? 0 : 1);
    if (!rig.job.jobRunning()) {
        QCOMPARE(rig.job.remainCaption(), u"Punching stopped"_s);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }
}

// At the first tick of a roll of 200, 10 holes are sent in 2 s. The holes
// done are those of this job's punching time plus one; a single punch before
// the first Resume is not punching time.
void TestPunchJob::estimateDuringJob_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("estimate");
    QTest::newRow("from the first hole: 189 x 2 / 11") << u"start"_s << 11 << u" 34 sec"_s;
    QTest::newRow("resumed at 100: 89 x 2 / 11")
        << u"next=100 start 1punch settle"_s << 111 << u" 16 sec"_s;
}

void TestPunchJob::estimateDuringJob()
{
    QFETCH(QString, steps);
    QFETCH(int, next);
    QFETCH(QString, estimate);
    Rig rig(200);
    rig.play(steps + u" wait=60000"_s);
    QCOMPARE(rig.job.remainCaption(), QString());
    rig.play("resume wait=2000");
    QCOMPARE(rig.nextNote.value(), next);
    QCOMPARE(rig.job.remainCaption(), u"Estimated time to go: "_s + estimate);
}

void TestPunchJob::timing()
{
    // Ready at once, from hole 7 of 10: the first line goes out 100 ms after
    // Resume, every later one 200 ms after the one before; the roll is redrawn
    // after every hole and by the end of the job.
    Rig rig(10);
    QSignalSpy draws(&rig.job, &PunchJob::drawRoll);
    rig.play("next=7 start");
    qint64 at = rig.clock.nowMs();
    rig.play("resume settle");
    QCOMPARE(rig.link.lines.first(), u"$,0070,0100,0000"_s);
    QCOMPARE(rig.nextNote.text(), u" 1"_s);
    QCOMPARE(draws.size(), 4 + 1);
    QCOMPARE(rig.link.times.size(), 4);
    QCOMPARE(rig.link.times.first() - at, PunchJob::SettleMs);
    for (qsizetype i = 1; i < rig.link.times.size(); ++i)
        QCOMPARE(rig.link.times[i] - rig.link.times[i - 1], PunchJob::SettleMs + PunchJob::AfterMs);

    // Not ready: readiness is tested every 100 ms from 100 ms after the hole
    // began.
    rig.play("notready start");
    at = rig.clock.nowMs();
    rig.play("resume wait=10050 sent=7-10 ready writes=5");
    QCOMPARE(rig.link.times.last() - at, 10100);

    // A single punch goes out 100 ms after the click.
    rig.play("settle start");
    at = rig.clock.nowMs();
    rig.play("1punch settle");
    QCOMPARE(rig.link.times.last() - at, PunchJob::SettleMs);
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
    rig.play("start resume settle");
    QCOMPARE(runs(rig.link.holes), u"1-2"_s);
    QCOMPARE(rig.nextNote.value(), 3);
    QCOMPARE(rig.job.jobState(), int(PunchJob::Paused));
    QCOMPARE(rig.messages().mid(2), (QStringList{rig.composer.composeHoleCommand(3).error, P}));

    rig.composer.setYCalibration(1000.0f);
    rig.play("resume settle");
    QCOMPARE(runs(rig.link.holes), u"1-5"_s);
}

// Seeded random runs of the steps, 0 to 300 ms apart, on a controller that is
// ready at once or busy after every hole; at the job, CTS, Xon and Xoff all
// arrive as readiness. Every hole sent must be the next one (1 after
// the end of a job, or the one the operator chose), the roll completed only
// once its last hole was sent, and the job must settle in a state of the
// table and, resumed, complete. A failure names its seed and steps;
// PUNCHJOB_SEED replays one seed.
void TestPunchJob::randomRuns()
{
    const QStringList moves = {
        u"start"_s, u"resume"_s, u"resume"_s,   u"resume"_s,   u"pause"_s,     u"pause"_s,
        u"pause"_s, u"1punch"_s, u"stop"_s,     u"no"_s,       u"yes"_s,       u"next"_s,
        u"ready"_s, u"ready"_s,  u"notready"_s, u"notready"_s, u"controller"_s};
    const QStringList table = {
        u"0/2/"_s + Ready,           u"0/2/start 1punch exit openport file settings tools"_s,
        u"1/0/"_s + Started,         u"1/1/"_s + Paused,
        u"1/1/stop tools picStop"_s, u"1/1/resume 1punch stop tools picStop"_s};
    const QRegularExpression sent(u"^ +Sent: .*nr: (\\d+) "_s);
    const bool replay = qEnvironmentVariableIsSet("PUNCHJOB_SEED");
    const int first = replay ? qEnvironmentVariableIntValue("PUNCHJOB_SEED") : 1;
    for (int seed = first; seed < first + (replay ? 1 : 3000); ++seed) {
        QRandomGenerator random(seed);
        Rig rig(random.bounded(1, 31));
        rig.link.busyAfterSend = seed % 2;
        QStringList trail, steps;
        connect(&rig.log, &Logbook::appended, [&trail](const QString &e) { trail << e; });
        const auto play = [&](const QString &step) {
            if (step.startsWith(u"next"_s) || step == u"controller"_s)
                trail << step;
            steps << step;
            rig.play(step);
        };
        play(u"start resume"_s);
        for (int i = 0; i < 20; ++i) {
            QString move = moves[random.bounded(moves.size())];
            if (move == u"next"_s)
                move += u'=' + QString::number(random.bounded(1, rig.holes.holeCount() + 1));
            play(move);
            play(u"wait=%1"_s.arg(random.bounded(301)));
        }
        rig.link.busyAfterSend = false;
        play(u"ready settle"_s);
        QString fault;
        const QString state = u"%1/%2/"_s.arg(rig.job.jobRunning()).arg(rig.job.jobState()) +
                              describe(rig.job.controls());
        if (!table.contains(state))
            fault = u"settled in "_s + state;
        if (rig.job.jobRunning())
            play(u"no resume settle"_s);
        if (rig.job.jobRunning() || rig.job.holeState() == PunchJob::HoleState::OnItsWay)
            fault = u"no end after Resume"_s;
        int next = 1;
        for (const QString &entry : std::as_const(trail)) {
            if (const auto m = sent.match(entry); m.hasMatch()) {
                if (m.captured(1).toInt() != next)
                    fault = u"hole %1 sent with %2 next"_s.arg(m.captured(1)).arg(next);
                ++next;
            } else if (entry.startsWith(C) && next != rig.holes.holeCount() + 1) {
                fault = u"completed with %1 next"_s.arg(next);
            }
            if (entry.startsWith(u"next="_s))
                next = entry.mid(5).toInt();
            else if (entry.startsWith(C) || entry.startsWith(u"Punching stopped"_s) ||
                     entry == u"controller"_s)
                next = 1;
        }
        for (qsizetype i = 0; i < rig.link.holes.size(); ++i) {
            if (rig.link.lines[i] != rig.composer.composeHoleCommand(rig.link.holes[i]).text)
                fault = u"hole %1 sent as %2"_s.arg(rig.link.holes[i]).arg(rig.link.lines[i]);
        }
        if (!fault.isEmpty() || QTest::currentTestFailed())
            QFAIL(qPrintable(u"seed %1: %2\n  steps: %3"_s.arg(seed).arg(fault, steps.join(u' '))));
    }
}

QTEST_APPLESS_MAIN(TestPunchJob)
#include "tst_punchjob.moc"
