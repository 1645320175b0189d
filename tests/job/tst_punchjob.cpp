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

// A roll of holeCount holes in the built-in Zelvoor format ("$", Y-pos, X-next,
// tracknum), hole n at Y-pos 10 n and keynum 30 + n, and the job on it. The rig
// is also the job's link: readiness and an open port set by the test, every
// hole written recorded with the time it went out and logged as the link does.
struct Rig final : JobLink
{
    explicit Rig(int holeCount = 20)
    {
        for (int n = 1; n <= holeCount; ++n)
            holes.append(Hole{100 * n, 30 + n, 100 * n + 10, 10 * n, 5, 0, 1});
        composer.setFormat(
            OutputFormat::fromTexts(u"00050701****************", u"01040404****************"));
        nextNote.set(1);
    }

    bool clearToSend() const override { return cts; }
    bool sendHoleCommand(const QString &line, int hole, qint32 keynum) override
    {
        if (!portOpen) {
            log.writeLog(u"Not sent, the port is closed"_s);
            return false;
        }
        lines << line;
        sent << hole;
        cts = cts && !busyAfterSend;
        times << clock.nowMs();
        log.writeLog(u"Sent: %1^    nr: %2 (armpos=%3)"_s.arg(line).arg(hole).arg(keynum),
                     LogKind::Sent);
        return true;
    }
    void clearReceived() override { ++clears; }
    void writeLog(const QString &message) override { log.writeLog(message); }

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

    // Plays the steps, separated by blanks: the buttons; "controller" (its
    // stop); "settle" (until the loop has returned and no single punch is on
    // its way); "hole" (one more hole written and done); "writes=N";
    // "wait=MS"; "next=N"; "ready"/"notready"; "lost"/"restored" (the port,
    // with notice) and "closed" (without); "sent=RUNS" and "on=A,B" check the
    // holes written and the enabled controls.
    void play(const QString &steps)
    {
        int n = 0;
        QString arg;
        const auto port = [&](bool open) {
            portOpen = cts = open;
            open ? job.portRestored() : job.portLost();
        };
        const QHash<QString, void (PunchJob::*)()> buttons = {
            {u"start"_s, &PunchJob::start},     {u"resume"_s, &PunchJob::resume},
            {u"pause"_s, &PunchJob::pause},     {u"stop"_s, &PunchJob::requestStop},
            {u"yes"_s, &PunchJob::confirmStop}, {u"no"_s, &PunchJob::cancelStop},
            {u"1punch"_s, &PunchJob::punchOne}, {u"controller"_s, &PunchJob::stopRequested}};
        const QHash<QString, std::function<void()>> actions = {
            {u"settle"_s,
             [&] { QVERIFY(runUntil([&] { return !job.punching() && !job.singlePunchBusy(); })); }},
            {u"hole"_s,
             [&] {
                 const qsizetype count = sent.size() + 1;
                 QVERIFY(runUntil([&] { return sent.size() >= count; }));
                 clock.advance(PunchJob::AfterMs);
             }},
            {u"writes"_s, [&] { QVERIFY(runUntil([&] { return sent.size() >= n; })); }},
            {u"wait"_s, [&] { clock.advance(n); }},
            {u"next"_s, [&] { nextNote.set(n); }},
            {u"ready"_s, [&] { cts = true; }},
            {u"notready"_s, [&] { cts = false; }},
            {u"lost"_s, [&] { port(false); }},
            {u"restored"_s, [&] { port(true); }},
            {u"closed"_s, [&] { portOpen = false; }},
            {u"sent"_s, [&] { QCOMPARE(runs(sent), arg); }},
            {u"on"_s,
             [&] { QCOMPARE(status().section(u": "_s, 1), QString(arg).replace(u',', u' ')); }},
        };
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString name = step.section(u'=', 0, 0);
            arg = step.section(u'=', 1);
            n = arg.toInt();
            if (buttons.contains(name))
                (job.*buttons.value(name))();
            else
                actions.value(name, [&] { QFAIL(qPrintable(step)); })();
        }
    }

    // "running" while a job runs, the job's state, and the enabled controls by
    // name in a fixed order.
    QString status() const
    {
        const JobControls c = job.controls();
        const bool flags[] = {c.start,        c.pause,    c.resume,      c.singlePunch,
                              c.stop,         c.exit,     c.openPort,    c.fileMenu,
                              c.settingsMenu, c.testMenu, c.stopQuestion};
        const QStringList names =
            u"start pause resume 1punch stop exit openport file settings tools picStop"_s.split(
                u' ');
        QStringList on;
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (flags[i])
                on << names[i];
        }
        const char *states[] = {"go", "paused", "ended"};
        return (job.jobRunning() ? u"running "_s : QString()) +
               QLatin1String(states[job.jobState()]) + u": "_s + on.join(u' ');
    }

    // An ended job has dropped the received text, set its caption and left no
    // timer.
    void checkEnded() const
    {
        QCOMPARE(clears, job.jobState() == PunchJob::Ended ? 1 : 0);
        if (job.jobState() == PunchJob::Ended) {
            QCOMPARE(job.remainCaption(), u"Punching stopped"_s);
            QCOMPARE(clock.pendingCount(), 0);
        }
    }

    // The log's entries other than the sent lines.
    QStringList messages() const
    {
        QStringList entries = log.text().split(u"\r\n"_s, Qt::SkipEmptyParts);
        entries.removeIf([](const QString &entry) { return entry.startsWith(u' '); });
        return entries;
    }

    VirtualClock clock{1000000};
    HoleList holes;
    HoleCommandComposer composer{holes};
    NextNoteState nextNote;
    Logbook log;
    bool cts = true;
    bool portOpen = true;
    bool busyAfterSend = false; // the controller is busy after each hole until ready again
    QList<int> sent;
    QStringList lines;
    QList<qint64> times;
    int clears = 0;
    PunchJob job{clock, holes, composer, nextNote, *this};
};

// Job states as status() gives them.
const QString Ended = u"ended: start exit openport file settings tools"_s;
const QString Ended1Punch = u"ended: start 1punch exit openport file settings tools"_s;
const QString Started = u"running go: resume 1punch stop tools"_s;
const QString Paused = u"running paused: resume 1punch stop tools"_s;
const QString Question = u"running paused: resume 1punch stop tools picStop"_s;
const QString S = u"Punching started"_s;
const QString R = u"Press resume to continue"_s;
const QString P = u"Pause, press resume to continue"_s;
const QString C = u"Punching is completed, all notes punched"_s;
const QString T = u"Total time punched:  %1 sec"_s;
const QString Stopped = u"Punching stopped by stop-button, last note punched: %1"_s;

} // namespace

class TestPunchJob : public QObject
{
    Q_OBJECT
private slots:
    // Every state of the job as the user sees it, reached by the steps of the
    // transition table, with the log lines the steps write.
    void tables_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("messages");
        const auto row = [](const char *name, const char *steps, const QString &status,
                            const QStringList &messages) {
            QTest::newRow(name) << QString::fromLatin1(steps) << status << messages;
        };

        row("start-up", "", u"go: start exit openport file settings tools"_s, {});
        row("started", "start", Started, {S, R});
        row("punching, before the first hole", "start resume", u"running go: stop tools"_s, {S, R});
        row("punching, after the first hole", "start resume hole",
            u"running go: pause stop tools"_s, {S, R});
        row("paused", "start resume hole pause settle", Paused, {S, R, P});
        row("stop question from punching", "start resume hole stop settle",
            u"running paused: stop tools picStop"_s, {S, R, P});
        row("stop question from paused", "start resume hole pause settle stop", Question,
            {S, R, P});
        row("yes", "start resume hole stop settle yes", Ended, {S, R, P, Stopped.arg(2), T.arg(0)});
        row("yes from started", "start stop yes", Ended, {S, R, Stopped.arg(0), T.arg(0)});
        row("completed", "start resume settle", Ended, {S, R, C, T.arg(4)});
        // The link logs the controller's stop line; the job adds its total.
        row("controller stop while punching", "start resume hole controller", Ended,
            {S, R, T.arg(0)});
        row("controller stop while paused keeps 1 punch",
            "start resume hole pause settle controller", Ended1Punch, {S, R, P, T.arg(0)});
        row("controller stop without a job", "controller", Ended, {});
        // Resume answers a stop question asked from a pause: the question goes.
        row("resume from the stop question", "start stop resume", u"running go: stop tools"_s,
            {S, R});
        // Resume stays off while a single punch is on its way.
        row("1 punch on its way", "start 1punch", u"running go: 1punch stop tools"_s, {S, R});
        // Buttons that are disabled do nothing.
        row("disabled clicks", "pause resume stop yes no 1punch start start", Started, {S, R});
    }

    void tables()
    {
        QFETCH(QString, steps);
        QFETCH(QString, status);
        QFETCH(QStringList, messages);
        Rig rig;
        rig.play(steps);
        QCOMPARE(rig.status(), status);
        QCOMPARE(rig.messages(), messages);
        rig.checkEnded();
    }

    // A job's end carries its reason; a lost port pauses and a stop without a
    // job ends nothing.
    void endReasons_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<PunchJob::EndReason>>("reasons");
        using R = PunchJob::EndReason;
        QTest::newRow("completed") << u"start resume settle"_s << QList{R::Completed};
        QTest::newRow("yes") << u"start stop yes"_s << QList{R::Stopped};
        QTest::newRow("controller")
            << u"controller start 1punch controller"_s << QList{R::ControllerStop};
        QTest::newRow("port lost") << u"start resume hole lost"_s << QList<R>();
    }

    void endReasons()
    {
        QFETCH(QString, steps);
        QFETCH(QList<PunchJob::EndReason>, reasons);
        Rig rig;
        QList<PunchJob::EndReason> ended;
        connect(&rig.job, &PunchJob::ended, [&ended](PunchJob::EndReason r) { ended << r; });
        rig.play(steps);
        QCOMPARE(ended, reasons);
    }

    // Longer runs on a roll of 10 holes: which holes went out, in which order,
    // and what was logged.
    void scenarios_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("next");
        QTest::addColumn<QStringList>("messages");
        const auto row = [](const char *name, const char *steps, const char *sent, int next,
                            const QStringList &messages) {
            QTest::newRow(name) << QString::fromLatin1(steps) << QString::fromLatin1(sent) << next
                                << messages;
        };
        row("resume past the end completes", "next=11 start resume", "", 1, {S, R, C, T.arg(0)});
        // The minute of the stop question is not punching time.
        row("stop, no, resume",
            "start resume writes=3 stop settle sent=1-3 wait=60000 no resume settle", "1-10", 1,
            {S, R, P, C, T.arg(1)});
        // Pause while a hole waits for readiness, Resume before the loop has
        // noticed: the hole given up is the next one sent, and none is lost.
        row("resume right after a hole was given up",
            "start resume writes=2 notready wait=150 pause wait=100 resume ready settle", "1-10", 1,
            {S, R, C, T.arg(1)});

        // "1 punch" sends the next hole once the controller is ready, and gives
        // up when it is not and the job is not at "go".
        row("1 punch while paused, not ready",
            "next=7 start stop no notready 1punch wait=1000 ready settle", "", 7, {S, R});
        row("1 punch double click", "start 1punch wait=50 1punch resume settle", "1", 2, {S, R});
        row("1 punch past the end", "start next=11 1punch settle", "", 11,
            {S, R, u"1 punch refused, no note 11 in this roll of 10 notes"_s});
        // "1 punch" right after Pause, while the loop still sends its hole: the
        // single punch follows that hole instead of racing it.
        row("1 punch while the loop finishes its hole",
            "start resume writes=2 wait=150 pause 1punch on=1punch,stop,tools settle "
            "on=resume,1punch,stop,tools",
            "1-4", 5, {S, R, P});

        // A lost port pauses the job at the hole not yet sent; "Open port" is
        // offered until the port is back.
        row("unplugged port",
            "start resume writes=3 wait=150 lost on=resume,1punch,stop,openport,tools settle "
            "sent=1-3 restored on=resume,1punch,stop,tools resume settle",
            "1-10", 1, {S, R, u"Port lost, punching paused, next note: 4"_s, P, C, T.arg(2)});
        // The controller's stop ends the job at once; the hole on its way is
        // given up, also once the controller is ready again.
        row("controller stop while waiting for readiness",
            "notready start resume wait=250 controller ready wait=10000", "", 1, {S, R, T.arg(0)});
        row("controller stop after a hole", "start resume writes=3 wait=50 controller wait=10000",
            "1-3", 1, {S, R, T.arg(1)});
        // A controller that never becomes ready: only Stop is offered before a
        // hole went out, and it still ends the job.
        row("never ready",
            "notready start resume wait=3600000 on=stop,tools stop settle no stop yes", "", 1,
            {S, R, P, Stopped.arg(0), u"Total time punched:  1 hrs,  0 min"_s});
        // The port closed without notice: the refused hole stays the next one.
        row("send refused", "start resume writes=2 closed settle on=resume,1punch,stop,tools",
            "1-2", 3, {S, R, u"Not sent, the port is closed"_s, P});
    }

    void scenarios()
    {
        QFETCH(QString, steps);
        QFETCH(QString, sent);
        QFETCH(int, next);
        QFETCH(QStringList, messages);
        Rig rig(10);
        rig.play(steps);
        QCOMPARE(runs(rig.sent), sent);
        QCOMPARE(rig.nextNote.value(), next);
        QCOMPARE(rig.messages(), messages);
        rig.checkEnded();
    }

    // At the first tick of a roll of 200, 10 holes are sent in 2 s. The holes
    // done are those of this job's punching time plus one; a single punch before
    // the first Resume is not punching time.
    void estimateDuringJob_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("next");
        QTest::addColumn<QString>("estimate");
        QTest::newRow("from the first hole: 189 x 2 / 11") << u"start"_s << 11 << u" 34 sec"_s;
        QTest::newRow("resumed at 100: 89 x 2 / 11")
            << u"next=100 start 1punch settle"_s << 111 << u" 16 sec"_s;
    }

    void estimateDuringJob()
    {
        QFETCH(QString, steps);
        QFETCH(int, next);
        QFETCH(QString, estimate);
        Rig rig(200);
        rig.play(steps + u" wait=60000"_s);
        QCOMPARE(rig.job.remainCaption(), QString());
        rig.play(u"resume wait=2000"_s);
        QCOMPARE(rig.nextNote.value(), next);
        QCOMPARE(rig.job.remainCaption(), u"Estimated time to go: "_s + estimate);
    }

    void timing()
    {
        // Ready at once, from hole 7 of 10: the first line goes out 100 ms after
        // Resume, every later one 200 ms after the one before; the roll is redrawn
        // after every hole and by the end of the job.
        Rig rig(10);
        QSignalSpy draws(&rig.job, &PunchJob::drawRoll);
        rig.play(u"next=7 start"_s);
        qint64 at = rig.clock.nowMs();
        rig.play(u"resume settle"_s);
        QCOMPARE(rig.lines.first(), u"$,0070,0100,0000"_s);
        QCOMPARE(rig.nextNote.text(), u" 1"_s);
        QCOMPARE(draws.size(), 4 + 1);
        QCOMPARE(rig.times, (QList<qint64>{at + 100, at + 300, at + 500, at + 700}));

        // Not ready: readiness is tested every 100 ms from 100 ms after the hole
        // began.
        rig.play(u"notready start"_s);
        at = rig.clock.nowMs();
        rig.play(u"resume wait=10050 sent=7-10 ready writes=5"_s);
        QCOMPARE(rig.times.last() - at, 10100);

        // A single punch goes out 100 ms after the click.
        rig.play(u"settle start"_s);
        at = rig.clock.nowMs();
        rig.play(u"1punch settle"_s);
        QCOMPARE(rig.times.last() - at, PunchJob::SettleMs);
    }

    // A hole whose line cannot be composed, or composes empty, is never sent:
    // a job pauses there until the fault is put right; a single punch sends
    // nothing.
    void compositionError_data()
    {
        QTest::addColumn<bool>("noFields"); // else hole 3 is beyond 32 bits once scaled
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("state");
        QTest::newRow("beyond 32 bits") << false << u"start resume settle"_s << u"1-2"_s << Paused;
        QTest::newRow("no fields") << true << u"start resume settle"_s << QString() << Paused;
        QTest::newRow("no fields, 1 punch")
            << true << u"start 1punch settle"_s << QString() << Started;
    }

    void compositionError()
    {
        QFETCH(bool, noFields);
        QFETCH(QString, steps);
        QFETCH(QString, sent);
        QFETCH(QString, state);
        Rig rig(5);
        const OutputFormat zelvoor = rig.composer.format();
        const QString none(OutputFormat::Slots * 2, u'*');
        noFields ? rig.composer.setFormat(OutputFormat::fromTexts(none, none))
                 : rig.composer.setYCalibration(2000.0f);
        rig.holes.clear();
        for (int n = 1; n <= 5; ++n)
            rig.holes.append(Hole{100 * n, 30 + n, 0, n == 3 ? 2000000000 : 10 * n, 5, 0, 1});
        rig.play(steps);
        QCOMPARE(runs(rig.sent), sent);
        QCOMPARE(rig.status(), state);
        const QString error = noFields
                                  ? u"hole 1: the output format has no fields, nothing to send"_s
                                  : rig.composer.composeHoleCommand(3).error;
        QStringList expected{error};
        if (state == Paused)
            expected << P;
        QCOMPARE(rig.messages().mid(2), expected);

        rig.composer.setYCalibration(1000.0f);
        rig.composer.setFormat(zelvoor);
        rig.play(u"resume settle"_s);
        QCOMPARE(runs(rig.sent), u"1-5"_s);
    }

    // Seeded random runs of the steps, 0 to 300 ms apart, on a controller that is
    // ready at once or busy after every hole; at the job, CTS, Xon and Xoff all
    // arrive as readiness. Every hole sent must be the next one (1 after
    // the end of a job, or the one the operator chose), the roll completed only
    // once its last hole was sent, and the job must settle in a state of the
    // table and, resumed, complete. A failure names its seed and steps;
    // PUNCHJOB_SEED replays one seed.
    void randomRuns()
    {
        const QStringList moves =
            u"start resume resume resume pause pause pause 1punch stop no yes "
            "next ready ready notready notready controller"_s.split(u' ');
        const QStringList table = {Ended,  Ended1Punch, Started,
                                   Paused, Question,    u"running paused: stop tools picStop"_s};
        const QRegularExpression sent(u"^ +Sent: .*nr: (\\d+) "_s);
        const bool replay = qEnvironmentVariableIsSet("PUNCHJOB_SEED");
        const int first = replay ? qEnvironmentVariableIntValue("PUNCHJOB_SEED") : 1;
        for (int seed = first; seed < first + (replay ? 1 : 3000); ++seed) {
            QRandomGenerator random(seed);
            Rig rig(random.bounded(1, 31));
            rig.busyAfterSend = seed % 2;
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
            rig.busyAfterSend = false;
            play(u"ready settle"_s);
            QString fault;
            if (!table.contains(rig.status()))
                fault = u"settled in "_s + rig.status();
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
            for (qsizetype i = 0; i < rig.sent.size(); ++i) {
                if (rig.lines[i] != rig.composer.composeHoleCommand(rig.sent[i]).text)
                    fault = u"hole %1 sent as %2"_s.arg(rig.sent[i]).arg(rig.lines[i]);
            }
            if (!fault.isEmpty() || QTest::currentTestFailed())
                QFAIL(qPrintable(
                    u"seed %1: %2\n  steps: %3"_s.arg(seed).arg(fault, steps.join(u' '))));
        }
    }
};

QTEST_APPLESS_MAIN(TestPunchJob)
#include "tst_punchjob.moc"
