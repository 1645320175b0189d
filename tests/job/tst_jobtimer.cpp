#include "job/jobtimer.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestJobTimer : public QObject
{
    Q_OBJECT
private slots:
    // Seconds to go and the end of the caption; halves go to even.
    void caption_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("estimate");
        const std::pair<qint64, const char *> rows[] = {
            {59, " 59 sec"},          {60, " 1 min"},
            {89, " 1 min"},           {90, " 2 min"},
            {150, " 2 min"},          {3599, " 60 min"},
            {3600, " 1 hrs,  0 min"}, {6000, " 1 hrs,  40 min"},
            {7170, " 2 hrs,  0 min"}, {-3, "-3 sec"}};
        for (const auto &[seconds, text] : rows)
            QTest::addRow("%lld s", seconds)
                << seconds << u"Estimated time to go: "_s + QLatin1String(text);
    }

    void caption()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, estimate);
        QCOMPARE(estimateCaption(seconds), estimate);
        QCOMPARE(totalTimeCaption(seconds),
                 QString(estimate).replace(u"Estimated time to go:"_s, u"Total time punched:"_s));
    }

    void estimate_data()
    {
        QTest::addColumn<int>("holeCount");
        QTest::addColumn<int>("nextNote");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("timeToGo");
        // Resumed at hole 1000: 20 holes in 10 s, 980 to go after the next.
        QTest::newRow("resumed part-way") << 2000 << 1020 << 21 << 10 << 467;
        QTest::newRow("1.5 to even 2") << 10 << 4 << 4 << 1 << 2;
        QTest::newRow("4.5 to even 4") << 10 << 4 << 4 << 3 << 4;
        QTest::newRow("last hole next") << 100 << 100 << 100 << 60 << 0;
        QTest::newRow("past the end") << 20 << 22 << 22 << 33 << -3;
        QTest::newRow("no next note") << 100 << 0 << 1 << 10 << 0;
        // 63998 x 40000 is beyond 32 bits; the quotient is not.
        QTest::newRow("wide product") << 64000 << 2 << 2 << 40000 << 1279960000;
    }

    void estimate()
    {
        QFETCH(int, holeCount);
        QFETCH(int, nextNote);
        QFETCH(int, done);
        QFETCH(int, elapsed);
        QFETCH(int, timeToGo);
        QCOMPARE(estimateTimeToGo(holeCount, nextNote, done, elapsed), timeToGo);
    }

    void clockSeconds_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<int>("seconds");
        QTest::newRow("below half") << qint64(2499) << 2;
        QTest::newRow("half to even down") << qint64(2500) << 2;
        QTest::newRow("half to even up") << qint64(3500) << 4;
        QTest::newRow("above half") << qint64(2501) << 3;
    }

    void clockSeconds()
    {
        QFETCH(qint64, ms);
        QFETCH(int, seconds);
        VirtualClock clock(ms);
        HoleList holes;
        NextNoteState nextNote;
        QCOMPARE(JobTimer(clock, holes, nextNote).clockSeconds(), seconds);
    }

    void ticksLeaveOutPauses()
    {
        VirtualClock clock{1000000};
        HoleList holes;
        NextNoteState nextNote;
        JobTimer timer{clock, holes, nextNote};
        for (int i = 0; i < 100; ++i)
            holes.append(Hole{});
        QSignalSpy captions(&timer, &JobTimer::estimateChanged);
        timer.startJobTimer();
        timer.pauseJobTimer();
        // Between Start and the first Resume the clock stands still and Timer2 is off.
        clock.advance(300000);
        QVERIFY(captions.isEmpty());
        timer.holeSent(); // before Resume: not in the punching time
        timer.resumeJobTimer();
        for (int hole = 1; hole <= 20; ++hole)
            timer.holeSent();
        nextNote.set(21);
        clock.advance(10000);
        QCOMPARE(captions.size(), 5);
        QCOMPARE(timer.jobElapsed(), 10);
        QCOMPARE(captions.last().at(0).toString(), u"Estimated time to go:  38 sec"_s);

        // Five minutes paused count for nothing; the first tick after Resume
        // counts only the punching time.
        timer.pauseJobTimer();
        clock.advance(300000);
        QCOMPARE(captions.size(), 5);
        timer.resumeJobTimer();
        clock.advance(2000);
        QCOMPARE(captions.size(), 6);
        QCOMPARE(timer.jobElapsed(), 12);
        QCOMPARE(timer.punchingTime(), 12);

        // Pause, then Stop (a second pause) and No, Resume: neither stretch counts.
        timer.pauseJobTimer();
        clock.advance(10000);
        timer.pauseJobTimer();
        clock.advance(10000);
        QCOMPARE(timer.punchingTime(), 12);
        timer.resumeJobTimer();
        clock.advance(2000);
        QCOMPARE(timer.jobElapsed(), 14);
    }
};

QTEST_APPLESS_MAIN(TestJobTimer)
#include "tst_jobtimer.moc"
