#include "job/jobtimer.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

class TestJobTimer : public QObject
{
    Q_OBJECT
private slots:
    void caption_data();
    void caption();
    void estimate_data();
    void estimate();
    void clockSeconds_data();
    void clockSeconds();
    void ticksLeaveOutPauses();
    void pauseWhilePausedCountsNothing();
};

void TestJobTimer::caption_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("estimate");
    QTest::newRow("seconds") << qint64(38) << QStringLiteral("Estimated time to go:  38 sec");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("Estimated time to go:  0 sec");
    QTest::newRow("last seconds") << qint64(59) << QStringLiteral("Estimated time to go:  59 sec");
    QTest::newRow("one minute") << qint64(60) << QStringLiteral("Estimated time to go:  1 min");
    QTest::newRow("89 s") << qint64(89) << QStringLiteral("Estimated time to go:  1 min");
    QTest::newRow("90 s, half to even 2")
        << qint64(90) << QStringLiteral("Estimated time to go:  2 min");
    QTest::newRow("150 s, half to even 2")
        << qint64(150) << QStringLiteral("Estimated time to go:  2 min");
    QTest::newRow("730 s") << qint64(730) << QStringLiteral("Estimated time to go:  12 min");
    QTest::newRow("3599 s") << qint64(3599) << QStringLiteral("Estimated time to go:  60 min");
    QTest::newRow("one hour") << qint64(3600)
                              << QStringLiteral("Estimated time to go:  1 hrs,  0 min");
    QTest::newRow("6000 s") << qint64(6000)
                            << QStringLiteral("Estimated time to go:  1 hrs,  40 min");
    QTest::newRow("hours, half to even")
        << qint64(7170) << QStringLiteral("Estimated time to go:  2 hrs,  0 min");
    QTest::newRow("negative") << qint64(-3) << QStringLiteral("Estimated time to go: -3 sec");
}

void TestJobTimer::caption()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, estimate);
    QCOMPARE(EstimateCaption(seconds), estimate);
    QString total = estimate;
    total.replace(QStringLiteral("Estimated time to go:"), QStringLiteral("Total time punched:"));
    QCOMPARE(TotalTimeCaption(seconds), total);
}

void TestJobTimer::estimate_data()
{
    QTest::addColumn<int>("holeCount");
    QTest::addColumn<int>("nextNote");
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<int>("timeToGo");
    QTest::newRow("79 x 10 / 21 = 37.6") << 100 << 21 << 10 << 38;
    QTest::newRow("1.5 to even 2") << 10 << 4 << 1 << 2;
    QTest::newRow("4.5 to even 4") << 10 << 4 << 3 << 4;
    QTest::newRow("last hole next") << 100 << 100 << 60 << 0;
    QTest::newRow("past the end") << 20 << 22 << 33 << -3;
    QTest::newRow("no next note") << 100 << 0 << 10 << 0;
    // 63998 x 40000 is beyond 32 bits; the quotient is not.
    QTest::newRow("wide product") << 64000 << 2 << 40000 << 1279960000;
}

void TestJobTimer::estimate()
{
    QFETCH(int, holeCount);
    QFETCH(int, nextNote);
    QFETCH(int, elapsed);
    QFETCH(int, timeToGo);
    QCOMPARE(EstimateTimeToGo(holeCount, nextNote, elapsed), timeToGo);
}

void TestJobTimer::clockSeconds_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("seconds");
    QTest::newRow("below half") << qint64(2499) << 2;
    QTest::newRow("half to even down") << qint64(2500) << 2;
    QTest::newRow("half to even up") << qint64(3500) << 4;
    QTest::newRow("above half") << qint64(2501) << 3;
}

void TestJobTimer::clockSeconds()
{
    QFETCH(qint64, ms);
    QFETCH(int, seconds);
    VirtualClock clock(ms);
    HoleList holes;
    NextNoteState nextNote;
    JobTimer timer(clock, holes, nextNote);
    QCOMPARE(timer.clockSeconds(), seconds);
}

namespace {

struct Rig
{
    Rig()
    {
        for (int i = 0; i < 100; ++i)
            holes.append(Hole{});
        nextNote.set(1);
    }
    VirtualClock clock{1000000};
    HoleList holes;
    NextNoteState nextNote;
    JobTimer timer{clock, holes, nextNote};
};

} // namespace

void TestJobTimer::ticksLeaveOutPauses()
{
    Rig rig;
    QSignalSpy captions(&rig.timer, &JobTimer::estimateChanged);
    rig.timer.StartJobTimer();
    rig.timer.PauseJobTimer();
    // Between Start and the first Resume the clock stands still and Timer2 is off.
    rig.clock.advance(300000);
    QVERIFY(captions.isEmpty());
    rig.timer.ResumeJobTimer();
    rig.nextNote.set(21);
    rig.clock.advance(10000);
    QCOMPARE(captions.size(), 5);
    QCOMPARE(rig.timer.jobElapsed(), 10);
    QCOMPARE(captions.last().at(0).toString(), QStringLiteral("Estimated time to go:  38 sec"));

    // Five minutes paused count for nothing; the first tick after Resume
    // counts only the punching time.
    rig.timer.PauseJobTimer();
    rig.clock.advance(300000);
    QCOMPARE(captions.size(), 5);
    rig.timer.ResumeJobTimer();
    rig.clock.advance(2000);
    QCOMPARE(captions.size(), 6);
    QCOMPARE(rig.timer.jobElapsed(), 12);
    QCOMPARE(rig.timer.punchingTime(), 12);
}

void TestJobTimer::pauseWhilePausedCountsNothing()
{
    // Pause, then Stop (a second pause) and No, Resume: neither stretch counts.
    Rig rig;
    rig.timer.StartJobTimer();
    rig.timer.PauseJobTimer();
    rig.timer.ResumeJobTimer();
    rig.clock.advance(4000);
    rig.timer.PauseJobTimer();
    rig.clock.advance(10000);
    rig.timer.PauseJobTimer();
    rig.clock.advance(10000);
    QCOMPARE(rig.timer.punchingTime(), 4);
    rig.timer.ResumeJobTimer();
    rig.clock.advance(2000);
    QCOMPARE(rig.timer.jobElapsed(), 6);
}

QTEST_APPLESS_MAIN(TestJobTimer)
#include "tst_jobtimer.moc"
