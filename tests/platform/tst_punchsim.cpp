// The punch-controller simulator: its answers on a virtual clock, then on a
// pseudo-terminal against the serial layer and the program's link, bound
// through a port map and opened through QSerialPort, and against the tools
// panel of the whole program while a job punches.

#include "app/application.h"
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "platform/clock.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"
#include "punchsim/punchcontroller.h"
#include "tests/support/testhelpers.h"
#include "tools/toolspanel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Xon("\x11");
const QByteArray Xoff("\x13");
constexpr int Timeout = 10000;

// The lines that answer the settings display command.
QStringList infoLines(int punchMs)
{
    return {u"Zelvoor punch controller, firmware 2.4"_s, u"x-steps/mm: 40.00"_s,
            u"y-steps/mm: 25.00"_s, u"arm start: 0, arm centre: 1850"_s,
            u"punch time: %1 ms"_s.arg(punchMs)};
}

QString recvd(const QString &line)
{
    return QString(14, u' ') + u"Recvd: "_s + line + u"\r\n"_s;
}

struct Input
{
    qint64 at;
    QByteArray bytes;
};

// What the controller sent on a virtual clock, one entry per send.
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

class TestPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        m_sim.stop();
        QFile::remove(m_dir.filePath(u"record.txt"_s));
    }

    // What the controller sends, by "|": "<ms> <bytes>" with Xon and Xoff
    // written as < and >, CR LF as "/".
    void answers_data()
    {
        QTest::addColumn<PunchControllerOptions>("options");
        QTest::addColumn<QList<Input>>("inputs");
        QTest::addColumn<QString>("sent");

        const QString info = infoLines(250).join(u'/') + u'/';
        PunchControllerOptions stop = quietOptions();
        stop.stopAfter = 2;
        PunchControllerOptions busy = quietOptions();
        busy.busyMs = 1000;
        PunchControllerOptions idle = quietOptions();
        idle.idleXonMs = 1000;

        QTest::newRow("settings display")
            << quietOptions() << QList<Input>{{0, "#,0020,0000,0000\r"}}
            << u"0 <|0 >|250 "_s + info + u"|250 <"_s;
        QTest::newRow("second line waits its turn")
            << quietOptions() << QList<Input>{{0, "a\rb\r"}, {100, "c\r"}}
            << u"0 <|0 >|250 <|250 >|500 <|500 >|750 <"_s;
        QTest::newRow("instant") << quietOptions(0) << QList<Input>{{10, "a\rb\r"}}
                                 << u"0 <|10 >|10 <|10 >|10 <"_s;
        QTest::newRow("LF dropped, empty lines unanswered, line over two batches")
            << quietOptions() << QList<Input>{{0, "\r\n\r\n12"}, {50, "34\n\r"}}
            << u"0 <|50 >|300 <"_s;
        QTest::newRow("stop after the second hole line")
            << stop << QList<Input>{{0, "h1\r#,0020,0000,0000\rh2\rh3\r"}}
            << u"0 <|0 >|250 <|250 >|500 "_s + info +
                   u"|500 <|500 >|750 stop/|750 <|750 >|1000 <"_s;
        QTest::newRow("busy after start")
            << busy << QList<Input>{{200, "h1\r"}} << u"1000 <|1000 >|1250 <"_s;
        QTest::newRow("lone Xon while idle")
            << idle << QList<Input>{{1500, "h1\r"}} << u"0 <|1000 <|1500 >|1750 <|2750 <|3750 <"_s;
    }

    void answers()
    {
        QFETCH(PunchControllerOptions, options);
        QFETCH(QList<Input>, inputs);
        QFETCH(QString, sent);
        QCOMPARE(run(options, inputs, 4000).join(u'|'), sent);
    }

    void linesAsReceived()
    {
        QList<QByteArray> lines;
        const QByteArray longLine(PunchController::MaxLineLength + 3, 'x');
        run(quietOptions(0), {{0, "a\n\rb\xff\x01\r\r"}, {5, longLine + "\r"}}, 100, &lines);
        QCOMPARE(lines,
                 (QList<QByteArray>{"a", "b\xff\x01", "",
                                    QByteArray(PunchController::MaxLineLength, 'x'), "xxx"}));
    }

    void linkConversation()
    {
        // A long punch time keeps each Xoff and its Xon in batches of their own.
        const QString device = startSimulator(300);
        QVERIFY(!device.isEmpty());

        QtSerialPortDevice port;
        Logbook log;
        LinkLamps lamps;
        bool formLoading = false;
        CommEvents events(port, log, lamps, [] { return 1; });
        PortController controller(port, log, lamps, events, formLoading,
                                  {m_dir.path() + u'/', &presentSerialPorts});
        LinkSender sender(port, log, events);

        QByteArray received;
        connect(&port, &SerialPort::received, this,
                [&received](const QByteArray &bytes) { received += bytes; });
        QSignalSpy lampChanges(&lamps, &LinkLamps::lampChanged);
        QSignalSpy lineErrors(&port, &SerialPort::lineError);
        QSignalSpy failures(&port, &SerialPort::transferFailed);
        QSignalSpy vanished(&port, &SerialPort::vanished);
        QSignalSpy dsr(&port, &SerialPort::dsrChanged);
        QSignalSpy cd(&port, &SerialPort::cdChanged);
        const auto xoffShown = [&lampChanges] {
            for (const QList<QVariant> &change : std::as_const(lampChanges)) {
                if (change.at(0).value<LinkLamp>() == LinkLamp::Xoff &&
                    change.at(1).value<LampColor>() == LampColors::Yellow)
                    return true;
            }
            return false;
        };

        // COM1 resolves to the simulator through the map it wrote.
        const PortResolution resolution = controller.resolvePort(1);
        QCOMPARE(resolution.device, device);
        QVERIFY(resolution.mapped);

        controller.applyStandardValues();
        controller.openPort();
        QVERIFY2(controller.portOpen(), qPrintable(log.text()));
        QCOMPARE(lamps.color(LinkLamp::Open), LampColors::PortOpen);
        // No CTS on a pseudo-terminal: the Xon the simulator sent at its start,
        // waiting in the device, makes the controller ready.
        QCOMPARE(lamps.color(LinkLamp::Cts), LampColors::Off);
        QTRY_VERIFY_WITH_TIMEOUT(events.clearToSend(), Timeout);
        QCOMPARE(received, Xon);
        QCOMPARE(lamps.color(LinkLamp::Xon), LampColors::Green);

        // The settings command, then two holes, the last after closing and
        // opening again: each answered by Xoff (the settings command with its
        // informational lines too), then Xon.
        const std::function<bool()> sends[] = {
            [&] { return sender.sendToolCommand(u"#,0020,0000,0000"_s); },
            [&] { return sender.sendHoleCommand(u"$1234,0567,0012"_s, 1, 57); },
            [&] {
                controller.closePort();
                controller.openPort();
                return sender.sendHoleCommand(u"$1240,0600,0013"_s, 2, 60);
            }};
        QByteArray expected = Xon + Xoff + infoLines(300).join(u"\r\n"_s).toLatin1() + "\r\n" + Xon;
        for (const auto &send : sends) {
            lampChanges.clear();
            QVERIFY(send());
            QTRY_COMPARE_WITH_TIMEOUT(received, expected, Timeout);
            QTRY_VERIFY_WITH_TIMEOUT(events.clearToSend(), Timeout);
            QVERIFY(xoffShown());
            QCOMPARE(lamps.color(LinkLamp::Xon), LampColors::Green);
            QCOMPARE(lamps.color(LinkLamp::Xoff), LampColors::Off);
            expected += Xoff + Xon;
        }
        QVERIFY(!port.cts());
        QVERIFY(lineErrors.isEmpty() && failures.isEmpty() && vanished.isEmpty());
        QVERIFY(dsr.isEmpty() && cd.isEmpty());

        controller.closePort();
        QVERIFY(!port.isOpen());
        const auto sent = [](const QString &message) {
            return u"     Sent: "_s + message + u"\r\n"_s;
        };
        QString info;
        for (const QString &line : infoLines(300))
            info += recvd(line);
        const QString opened = u"COM 1: Open at 9600,N,8,1\r\n"_s;
        const QString closed = u"COM 1: Closed\r\n"_s;
        QCOMPARE(log.text(), opened + sent(u"#,0020,0000,0000^"_s) + info +
                                 sent(u"$1234,0567,0012^    nr: 1 (armpos=57)"_s) + closed +
                                 opened + sent(u"$1240,0600,0013^    nr: 2 (armpos=60)"_s) +
                                 closed);

        // The simulator's record holds each line exactly as written, without
        // its CR: no LF or anything else went out with them.
        const QString recordPath = m_dir.filePath(u"record.txt"_s);
        QTRY_COMPARE_WITH_TIMEOUT(parseRecord(readFile(recordPath)).size(), 3, Timeout);
        QByteArray record;
        for (const RecordedLine &line : parseRecord(readFile(recordPath)))
            record += line.line + '\n';
        QCOMPARE(record, QByteArray("#,0020,0000,0000\n$1234,0567,0012\n$1240,0600,0013\n"));
    }

    void simulatorGoneClosesThePort()
    {
        const QString device = startSimulator(50);
        QVERIFY(!device.isEmpty());
        QtSerialPortDevice port;
        QSignalSpy vanished(&port, &SerialPort::vanished);
        QVERIFY(port.open(device, u"9600,N,8,1"_s).ok());
        m_sim.process.terminate();
        QVERIFY(m_sim.process.waitForFinished(Timeout));
        QCOMPARE(m_sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_sim.process.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(vanished.size(), 1, Timeout);
        const QString reason = vanished.at(0).at(0).toString();
        QVERIFY2(reason.startsWith(device + u" is gone ("_s), qPrintable(reason));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.write("$1\r"));
        QVERIFY(!vanished.wait(200)); // once only
    }

    void toolLinesBetweenHoles()
    {
        constexpr int Long = 20000;
        QVERIFY(!startSimulator(40, {}).isEmpty());
        SystemClock clock;
        QtSerialPortDevice port;
        ScriptedChooser chooser;
        chooser.answer.path = samplePath("koraal-52.prt");
        Application app(AppServices{clock, port, chooser, m_dir.path() + u'/', m_dir.path() + u'/',
                                    [] { return QList<PresentPort>(); }});
        app.core.opener.openPrtFile();

        // Tools opens the port; a job punches while every button is clicked.
        app.window.mnuTest()->trigger();
        QVERIFY2(app.core.portOpen(), qPrintable(app.core.log.text()));
        QTRY_VERIFY_WITH_TIMEOUT(app.core.commEvents.clearToSend(), Long);
        app.core.job.start();
        app.core.job.resume();
        ToolsPanel *tools = app.window.toolsPanel();
        tools->txtArmBackwards->setText(u"2.5"_s);
        tools->txtPaperSteps->setText(u"120"_s);
        tools->txtVal1->setText(u"3"_s);
        tools->txtVal2->setText(u"12345"_s);
        for (QPushButton *button :
             {tools->cmdArmForewards, tools->cmdArmBackwards, tools->cmdpaperSteps,
              tools->cmdArmtostart, tools->cmdArmCenter, tools->cmdActivatePunch,
              tools->cmdPapeprStepsBack, tools->cmdSubmitmanual, tools->cmdShowSettings}) {
            button->click();
            QTest::qWait(70);
        }
        QTRY_VERIFY_WITH_TIMEOUT(app.core.nextNote.value() > 3, Long);
        app.core.job.pause();
        QTRY_VERIFY_WITH_TIMEOUT(!app.core.job.punching(), Long);
        const int holes = app.core.nextNote.value() - 1;

        // Every line arrives whole, ended by the CR that completes it: the tool
        // lines in their order, the holes in theirs.
        QList<QByteArray> expected[2] = {
            {"#,0001,0050,0000", "#,0002,0002,0000", "#,0003,0120,0000", "#,0004,0000,0000",
             "#,0005,0000,0000", "#,0006,0000,0000", "#,0007,0120,0000", "#,0003,12345,0000",
             "#,0020,0000,0000"},
            {}};
        for (int hole = 1; hole <= holes; ++hole)
            expected[1] << app.core.composer.composeHoleCommand(hole).text.toLatin1();
        QList<QByteArray> arrived[2];
        const auto record = [&] { return parseRecord(readFile(m_dir.filePath(u"record.txt"_s))); };
        QTRY_COMPARE_WITH_TIMEOUT(record().size(), holes + 9, Long);
        for (const RecordedLine &entry : record())
            arrived[entry.line.startsWith('#') ? 0 : 1] << entry.line;
        QCOMPARE(arrived[0], expected[0]);
        QCOMPARE(arrived[1], expected[1]);

        // The answer to "Show settings" is logged line by line.
        for (const QString &line : infoLines(40))
            QTRY_VERIFY_WITH_TIMEOUT(app.core.log.text().contains(recvd(line)), Long);
        app.core.job.requestStop();
        app.core.job.confirmStop();
    }

private:
    // Starts the simulator bound to COM1 in the map of m_dir; its device.
    QString startSimulator(int punchMs, const QStringList &more = {u"--idle-xon-ms"_s, u"0"_s})
    {
        return m_sim.startIn(
            QStringLiteral(VELMORA_PUNCHSIM), m_dir.path(),
            QStringList{u"--com"_s, u"1"_s, u"--punch-ms"_s, QString::number(punchMs)} + more);
    }

    QTemporaryDir m_dir;
    PunchSimProcess m_sim;
};

QTEST_MAIN(TestPunchSim)
#include "tst_punchsim.moc"
