#include "platform/clock.h"
#include "punchsim/punchcontroller.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

struct Input
{
    qint64 at;
    QByteArray bytes;
};

// What the controller sent, one entry per send: "<ms> <bytes>" with Xon and
// Xoff written as < and >.
QStringList run(const PunchControllerOptions &options, const QList<Input> &inputs, qint64 untilMs,
                QList<QByteArray> *lines = nullptr)
{
    VirtualClock clock;
    QStringList sent;
    PunchController controller(clock, options, [&](const QByteArray &bytes) {
        QByteArray shown = bytes;
        shown.replace('\x11', '<').replace('\x13', '>').replace("\r\n", "|");
        sent << QString::number(clock.nowMs()) + u' ' + QString::fromLatin1(shown);
    });
    if (lines)
        controller.setLineSeen([lines](const QByteArray &line) { lines->append(line); });
    controller.start();
    for (const Input &input : inputs) {
        clock.advance(input.at - clock.nowMs());
        controller.receive(input.bytes);
    }
    clock.advance(untilMs - clock.nowMs());
    return sent;
}

PunchControllerOptions quietOptions(qint64 punchMs = 250)
{
    PunchControllerOptions options;
    options.punchMs = punchMs;
    options.idleXonMs = 0;
    return options;
}

} // namespace

Q_DECLARE_METATYPE(velmora::PunchControllerOptions)
Q_DECLARE_METATYPE(Input)

class TestPunchController : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void linesAsReceived();
    void record();
};

void TestPunchController::answers_data()
{
    QTest::addColumn<PunchControllerOptions>("options");
    QTest::addColumn<QList<Input>>("inputs");
    QTest::addColumn<QStringList>("sent");

    const QByteArray info = "Zelvoor punch controller, firmware 2.4|x-steps/mm: 40.00|"
                            "y-steps/mm: 25.00|arm start: 0, arm centre: 1850|"
                            "punch time: 250 ms|";

    QTest::newRow("one hole") << quietOptions() << QList<Input>{{100, "1234,0567\r"}}
                              << QStringList{u"0 <"_s, u"100 >"_s, u"350 <"_s};
    QTest::newRow("settings display")
        << quietOptions() << QList<Input>{{0, "#,0020,0000,0000\r"}}
        << QStringList{u"0 <"_s, u"0 >"_s, u"250 "_s + QString::fromLatin1(info), u"250 <"_s};
    QTest::newRow("second line waits its turn")
        << quietOptions() << QList<Input>{{0, "a\rb\r"}, {100, "c\r"}}
        << QStringList{u"0 <"_s,   u"0 >"_s,   u"250 <"_s, u"250 >"_s,
                       u"500 <"_s, u"500 >"_s, u"750 <"_s};
    QTest::newRow("instant") << quietOptions(0) << QList<Input>{{10, "a\rb\r"}}
                             << QStringList{u"0 <"_s, u"10 >"_s, u"10 <"_s, u"10 >"_s, u"10 <"_s};
    QTest::newRow("LF dropped, empty lines unanswered, line over two batches")
        << quietOptions() << QList<Input>{{0, "\r\n\r\n12"}, {50, "34\n\r"}}
        << QStringList{u"0 <"_s, u"50 >"_s, u"300 <"_s};

    PunchControllerOptions stop = quietOptions();
    stop.stopAfter = 2;
    QTest::newRow("stop after the second hole line")
        << stop << QList<Input>{{0, "h1\r#,0020,0000,0000\rh2\rh3\r"}}
        << QStringList{u"0 <"_s,
                       u"0 >"_s,
                       u"250 <"_s,
                       u"250 >"_s,
                       u"500 "_s + QString::fromLatin1(info),
                       u"500 <"_s,
                       u"500 >"_s,
                       u"750 stop|"_s,
                       u"750 <"_s,
                       u"750 >"_s,
                       u"1000 <"_s};

    PunchControllerOptions busy = quietOptions();
    busy.busyMs = 1000;
    QTest::newRow("busy after start") << busy << QList<Input>{{200, "h1\r"}}
                                      << QStringList{u"1000 <"_s, u"1000 >"_s, u"1250 <"_s};

    PunchControllerOptions idle = quietOptions();
    idle.idleXonMs = 1000;
    QTest::newRow("lone Xon while idle")
        << idle << QList<Input>{{1500, "h1\r"}}
        << QStringList{u"0 <"_s, u"1000 <"_s, u"1500 >"_s, u"1750 <"_s, u"2750 <"_s, u"3750 <"_s};
}

void TestPunchController::answers()
{
    QFETCH(PunchControllerOptions, options);
    QFETCH(QList<Input>, inputs);
    QFETCH(QStringList, sent);
    QCOMPARE(run(options, inputs, 4000), sent);
}

void TestPunchController::linesAsReceived()
{
    QList<QByteArray> lines;
    const QByteArray longLine(PunchController::MaxLineLength + 3, 'x');
    run(quietOptions(0), {{0, "a\n\rb\xff\x01\r\r"}, {5, longLine + "\r"}}, 100, &lines);
    QCOMPARE(lines, (QList<QByteArray>{"a", "b\xff\x01", "",
                                       QByteArray(PunchController::MaxLineLength, 'x'), "xxx"}));
}

void TestPunchController::record()
{
    const QByteArray record = RecordEntry(7, "#,0020,0000,0000") + RecordEntry(1250, "") +
                              RecordEntry(1300, "a b\x13") + "99 unfinished";
    QCOMPARE(record.first(20), QByteArray("7 #,0020,0000,0000\n1"));
    const QList<RecordedLine> lines = ParseRecord(record);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].ms, 7);
    QCOMPARE(lines[0].line, QByteArray("#,0020,0000,0000"));
    QCOMPARE(lines[1].ms, 1250);
    QCOMPARE(lines[1].line, QByteArray());
    QCOMPARE(lines[2].line, QByteArray("a b\x13"));
}

QTEST_APPLESS_MAIN(TestPunchController)
#include "tst_punchcontroller.moc"
