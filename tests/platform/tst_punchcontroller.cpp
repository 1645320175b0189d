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

// What the controller sent, one entry per send.
QStringList run(const PunchControllerOptions &options, const QList<Input> &inputs, qint64 untilMs,
                QList<QByteArray> *lines = nullptr)
{
    VirtualClock clock;
    QStringList sent;
    PunchController controller(clock, options, [&](const QByteArray &bytes) {
        QByteArray shown = bytes;
        shown.replace('\x11', '<').replace('\x13', '>').replace("\r\n", "/");
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
};

// What the controller sends, by "|": "<ms> <bytes>" with Xon and Xoff
// written as < and >, CR LF as "/".
void TestPunchController::answers_data()
{
    QTest::addColumn<PunchControllerOptions>("options");
    QTest::addColumn<QList<Input>>("inputs");
    QTest::addColumn<QString>("sent");

    const QString info = u"Zelvoor punch controller, firmware 2.4/x-steps/mm: 40.00/"
                         "y-steps/mm: 25.00/arm start: 0, arm centre: 1850/punch time: 250 ms/"_s;
    PunchControllerOptions stop = quietOptions();
    stop.stopAfter = 2;
    PunchControllerOptions busy = quietOptions();
    busy.busyMs = 1000;
    PunchControllerOptions idle = quietOptions();
    idle.idleXonMs = 1000;

    QTest::newRow("one hole") << quietOptions() << QList<Input>{{100, "1234,0567\r"}}
                              << u"0 <|100 >|350 <"_s;
    QTest::newRow("settings display") << quietOptions() << QList<Input>{{0, "#,0020,0000,0000\r"}}
                                      << u"0 <|0 >|250 "_s + info + u"|250 <"_s;
    QTest::newRow("second line waits its turn")
        << quietOptions() << QList<Input>{{0, "a\rb\r"}, {100, "c\r"}}
        << u"0 <|0 >|250 <|250 >|500 <|500 >|750 <"_s;
    QTest::newRow("instant") << quietOptions(0) << QList<Input>{{10, "a\rb\r"}}
                             << u"0 <|10 >|10 <|10 >|10 <"_s;
    QTest::newRow("LF dropped, empty lines unanswered, line over two batches")
        << quietOptions() << QList<Input>{{0, "\r\n\r\n12"}, {50, "34\n\r"}} << u"0 <|50 >|300 <"_s;
    QTest::newRow("stop after the second hole line")
        << stop << QList<Input>{{0, "h1\r#,0020,0000,0000\rh2\rh3\r"}}
        << u"0 <|0 >|250 <|250 >|500 "_s + info + u"|500 <|500 >|750 stop/|750 <|750 >|1000 <"_s;
    QTest::newRow("busy after start")
        << busy << QList<Input>{{200, "h1\r"}} << u"1000 <|1000 >|1250 <"_s;
    QTest::newRow("lone Xon while idle")
        << idle << QList<Input>{{1500, "h1\r"}} << u"0 <|1000 <|1500 >|1750 <|2750 <|3750 <"_s;
}

void TestPunchController::answers()
{
    QFETCH(PunchControllerOptions, options);
    QFETCH(QList<Input>, inputs);
    QFETCH(QString, sent);
    QCOMPARE(run(options, inputs, 4000).join(u'|'), sent);
}

void TestPunchController::linesAsReceived()
{
    QList<QByteArray> lines;
    const QByteArray longLine(PunchController::MaxLineLength + 3, 'x');
    run(quietOptions(0), {{0, "a\n\rb\xff\x01\r\r"}, {5, longLine + "\r"}}, 100, &lines);
    QCOMPARE(lines, (QList<QByteArray>{"a", "b\xff\x01", "",
                                       QByteArray(PunchController::MaxLineLength, 'x'), "xxx"}));
}

QTEST_APPLESS_MAIN(TestPunchController)
#include "tst_punchcontroller.moc"
