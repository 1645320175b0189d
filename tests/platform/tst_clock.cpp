#include "platform/clock.h"
#include "platform/systemclock.h"

#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestClock : public QObject
{
    Q_OBJECT
private slots:
    void order();
    void cancel();
    void timers();
    void systemClockRunsAndCancels();
};

void TestClock::order()
{
    // Due time first, then the order of scheduling.
    VirtualClock clock(1000);
    QStringList order;
    clock.schedule(100, [&] { order << u"b@100"_s; });
    clock.schedule(50, [&] { order << u"a@50"_s; });
    clock.schedule(100, [&] { order << u"c@100"_s; });
    clock.schedule(-5, [&] { order << u"now"_s; });
    clock.advance(99);
    QCOMPARE(order.join(u' '), u"now a@50"_s);
    QCOMPARE(clock.nowMs(), 1099);
    clock.advance(1);
    QCOMPARE(order.join(u' '), u"now a@50 b@100 c@100"_s);

    // The job's chain: 100 ms before a write, polls every 100 ms, 100 ms after.
    VirtualClock chain;
    QList<qint64> times;
    std::function<void(int)> step = [&](int left) {
        times << chain.nowMs();
        if (left > 0)
            chain.schedule(100, [&, left] { step(left - 1); });
    };
    chain.schedule(100, [&] { step(3); });
    // Same time as the second step, scheduled earlier: runs before it.
    chain.schedule(200, [&] { times << -chain.nowMs(); });
    // A zero delay from a callback runs after what is already due then.
    chain.schedule(400, [&] { chain.schedule(0, [&] { times << 4000 + chain.nowMs(); }); });
    // Scheduled inside the span but due after it: waits for the next advance.
    chain.schedule(950, [&] { chain.schedule(100, [&] { times << chain.nowMs(); }); });
    chain.advance(1000);
    QCOMPARE(times, (QList<qint64>{100, -200, 200, 300, 400, 4400}));
    QCOMPARE(chain.nowMs(), 1000);
    QCOMPARE(chain.nextDueMs(), std::optional<qint64>(1050));
}

void TestClock::cancel()
{
    VirtualClock clock;
    QList<int> ran;
    const TimerId first = clock.schedule(10, [&] { ran << 1; });
    TimerId second = 0;
    clock.schedule(5, [&] { clock.cancel(second); }); // a callback cancels a later one
    second = clock.schedule(10, [&] { ran << 2; });
    clock.schedule(10, [&] { ran << 3; });
    clock.cancel(first);
    clock.cancel(first); // twice: ignored
    clock.cancel(0);
    clock.cancel(9999);
    QCOMPARE(clock.pendingCount(), 3);
    clock.advance(20);
    QCOMPARE(ran, QList<int>{3});
    clock.cancel(second); // already gone
    QCOMPARE(clock.pendingCount(), 0);

    // An endless chain of zero delays is stopped.
    std::function<void()> again = [&] { clock.schedule(0, again); };
    clock.schedule(0, again);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"more than .* callbacks"_s));
    clock.advance(10);
    QCOMPARE(clock.pendingCount(), 1);
}

void TestClock::timers()
{
    VirtualClock clock;
    ClockTimer estimate(clock);
    QList<qint64> ticks;
    estimate.startRepeating(2000, [&] {
        ticks << clock.nowMs();
        if (ticks.size() == 3)
            estimate.stop();
    });
    QVERIFY(estimate.isActive());
    clock.advance(10000);
    QCOMPARE(ticks, (QList<qint64>{2000, 4000, 6000}));
    QVERIFY(!estimate.isActive());

    // A single shot restarted from its own callback.
    ClockTimer shot(clock);
    int shots = 0;
    shot.start(100, [&] {
        if (++shots < 3)
            shot.start(100, [&] { ++shots; });
    });
    clock.advance(1000);
    QCOMPARE(shots, 2);
    QVERIFY(!shot.isActive());

    // A timer destroyed by its own callback, or before it is due, runs no more.
    auto timer = std::make_unique<ClockTimer>(clock);
    int ran = 0;
    timer->startRepeating(10, [&] {
        ++ran;
        timer.reset();
    });
    {
        ClockTimer scoped(clock);
        scoped.start(10, [&] { ++ran; });
    }
    clock.advance(100);
    QCOMPARE(ran, 1);
    QCOMPARE(clock.pendingCount(), 0);
}

void TestClock::systemClockRunsAndCancels()
{
    SystemClock clock;
    const qint64 start = clock.nowMs();
    QList<int> ran;
    clock.schedule(30, [&] { ran << 2; });
    const TimerId cancelled = clock.schedule(10, [&] { ran << 9; });
    clock.schedule(10, [&] { ran << 1; });
    clock.cancel(cancelled);
    QTRY_COMPARE_WITH_TIMEOUT(ran.size(), 2, 5000);
    QCOMPARE(ran, (QList<int>{1, 2}));
    QVERIFY(clock.nowMs() - start >= 30);
}

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
