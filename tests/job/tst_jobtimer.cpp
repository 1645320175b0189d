#include "job/jobtimer.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

struct EstimateRow
{
    int holeCount, nextNote, done, elapsed, timeToGo;
};
Q_DECLARE_METATYPE(EstimateRow)

class TestJobTimer : public QObject
{
    Q_OBJECT
private slots:
    // Seconds to go and the end of the caption; halves go to even.
    void caption_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("words");
        const std::pair<qint64, const char *> rows[] = {
            {59, " 59 sec"}, {60, " 1 min"},           {89, " 1 min"},
            {90, " 2 min"},  {3599, " 60 min"},        {3600, " 1 hrs,  0 min"},
            {-3, "-3 sec"},  {7170, " 2 hrs,  0 min"}, // 119.5 min: the hour fills up
        };
        for (const auto &[seconds, text] : rows)
            QTest::addRow("%lld s", seconds) << seconds << QString::fromLatin1(text);
    }

    void caption()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, words);
        QCOMPARE(estimateCaption(seconds), u"Estimated time to go: "_s + words);
        QCOMPARE(totalTimeCaption(seconds), u"Total time punched: "_s + words);
    }

    void estimate_data()
    {
        QTest::addColumn<EstimateRow>("row");
        // Resumed at hole 1000: 20 holes in 10 s, 980 to go after the next.
        QTest::newRow("resumed part-way") << EstimateRow{2000, 1020, 21, 10, 467};
        QTest::newRow("4.5 to even 4") << EstimateRow{10, 4, 4, 3, 4};
        QTest::newRow("last hole next") << EstimateRow{100, 100, 100, 60, 0};
        QTest::newRow("past the end") << EstimateRow{20, 22, 22, 33, -3};
        QTest::newRow("no next note") << EstimateRow{100, 0, 1, 10, 0};
        // 63998 x 40000 is beyond 32 bits; the quotient is not.
        QTest::newRow("wide product") << EstimateRow{64000, 2, 2, 40000, 1279960000};
    }

    void estimate()
    {
        QFETCH(EstimateRow, row);
        QCOMPARE(estimateTimeToGo(row.holeCount, row.nextNote, row.done, row.elapsed),
                 row.timeToGo);
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
        timer.holeSent(); // before Resume: not in the punching time
        timer.resumeJobTimer();
        for (int hole = 1; hole <= 20; ++hole)
            timer.holeSent();
        nextNote.set(21);
        clock.advance(10000);
        QCOMPARE(captions.size(), 5);
        QCOMPARE(timer.jobElapsed(), 10);
        QCOMPARE(captions.last().at(0).toString(), u"Estimated time to go:  38 sec"_s);

        // Pause, then Stop (a second pause) and No, Resume: no tick comes and
        // neither stretch counts; the first tick after Resume counts only the
        // punching time.
        timer.pauseJobTimer();
        clock.advance(300000);
        timer.pauseJobTimer();
        clock.advance(10000);
        QCOMPARE(captions.size(), 5);
        QCOMPARE(timer.punchingTime(), 10);
        timer.resumeJobTimer();
        clock.advance(2000);
        QCOMPARE(captions.size(), 6);
        QCOMPARE(timer.jobElapsed(), 12);
    }
};

QTEST_APPLESS_MAIN(TestJobTimer)
#include "tst_jobtimer.moc"
