#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "link/portmap.h"
#include "punchsim/portmapwriter.h"
#include "tests/support/fakeserialport.h"
#include "tests/support/testhelpers.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Xon("\x11");
const QByteArray Xoff("\x13");
const QString Stop41 = u"Stop command received from punch, last note punched: 41\r\n"_s;

QString recvd(const QString &line)
{
    return QString(14, u' ') + u"Recvd: "_s + line + u"\r\n"_s;
}

// Devices by blanks; those marked with a "*" are adapters by the system's word.
QList<PresentPort> ports(const QString &devices)
{
    QList<PresentPort> list;
    for (const QString &device : devices.split(u' ', Qt::SkipEmptyParts))
        list.append({QString(device).remove(u'*'), device.endsWith(u'*')});
    return list;
}

// COM1 is the one adapter present, COM2 is bound in the map, COM3 has no
// device.
struct Rig
{
    explicit Rig(const QString &dir)
        : controller(port, log, lamps, events, formLoading,
                     {dir, [] { return ports(u"/dev/ttyUSB0*"_s); }})
    {}
    QStringList logLines() const { return log.text().split(u"\r\n"_s, Qt::SkipEmptyParts); }

    FakeSerialPort port;
    Logbook log;
    LinkLamps lamps;
    bool formLoading = false;
    CommEvents events{port, log, lamps, [] { return 42; }}; // the next note
    LinkSender sender{port, log, events};
    PortController controller;
};

} // namespace

// The link: the port map, the log, and the link on a fake port with the
// events it receives, the keys, the sends and the port's controller.
class TestLink : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(writeMapLine(m_dir.filePath(PortMap::fileName()), 2, u"/dev/ttyS9"_s));
        m_rig = std::make_unique<Rig>(m_dir.path() + u'/');
    }

    // Every event greys the ring lamp. Line errors the port reports arrive
    // through its signal; 1005 is a number without a name.
    void eventTexts()
    {
        Rig &rig = openRig();
        const std::function<void()> events[] = {
            [&] { rig.events.onLineError(LineError::EndOfFile); },
            [&] { rig.port.raiseLineError(LineError::Framing); },
            [&] { rig.events.onLineError(LineError(1005)); },
            [&] { rig.events.onModemLineChanged(ModemLine::Dsr, true); },
            [&] { rig.events.onReceived(QByteArray()); },
        };
        for (const auto &event : events) {
            rig.port.ring();
            QCOMPARE(rig.lamps.color(LinkLamp::Ri), LampColors::Red);
            event();
            QCOMPARE(rig.lamps.color(LinkLamp::Ri), LampColors::Off);
        }
        QCOMPARE(rig.lamps.color(LinkLamp::Dsr), LampColors::Red);
        QCOMPARE(rig.log.text(), u"[End of File Detected]\r\n[Framing Error]\r\n"
                                 u"[Unknown error or event: 1005]\r\n"_s);
    }

    void receive_data()
    {
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<int>("ready"); // clearToSend afterwards; it starts clear
        QTest::addColumn<QString>("rxLine");

        using B = QList<QByteArray>;
        QTest::newRow("empty lines skipped, a rest kept")
            << B{"\r\rone\r\r\r\ntwo\r\nthr"} << recvd(u"one"_s) + recvd(u"two"_s) << 0 << "thr";
        QTest::newRow("Xoff then Xon in one batch")
            << B{Xoff + "o" + Xoff + "k" + Xon + "\r"} << recvd(u"ok"_s) << 1 << "";
        QTest::newRow("flow control inside a pending line, Xon then Xoff")
            << B{"ab" + Xon, "c" + Xon + Xoff + "\r"} << recvd(u"abc"_s) << 0 << "";
        QTest::newRow("stop split over two batches")
            << B{"st", "op\r"} << recvd(u"stop"_s) << 0 << "";
        QTest::newRow("STOP in capitals") << B{"STOP\r\n"} << recvd(u"STOP"_s) << 0 << "";
        QTest::newRow("stop drops pending text and flow control, lines follow")
            << B{"ab", "x\r" + Xon + "stop", "ok\r"} << Stop41 + recvd(u"ok"_s) << 0 << "";
        // Past the bound without a CR, the pending text is logged as a line.
        const QByteArray full(CommEvents::RxLineBound, 'a');
        QTest::newRow("line bound")
            << B{full, "b"} << recvd(QString::fromLatin1(full + "b")) << 0 << "";
    }

    void receive()
    {
        Rig &rig = openRig();
        QFETCH(QList<QByteArray>, batches);
        QFETCH(QString, logged);
        QFETCH(int, ready);
        QFETCH(QString, rxLine);
        QSignalSpy stops(&rig.events, &CommEvents::stopRequested);
        for (const QByteArray &batch : std::as_const(batches))
            QVERIFY(rig.port.receive(batch));
        QCOMPARE(rig.log.text(), logged);
        QCOMPARE(rig.events.clearToSend(), ready == 1);
        QCOMPARE(rig.events.rxLine(), rxLine);
        QCOMPARE(stops.size(), logged.startsWith(u"Stop"_s) ? 1 : 0);
        if (stops.isEmpty() && batches.join().contains(ready ? Xon : Xoff)) {
            QCOMPARE(rig.lamps.color(LinkLamp::Xon), ready ? LampColors::Green : LampColors::Off);
            QCOMPARE(rig.lamps.color(LinkLamp::Xoff), ready ? LampColors::Off : LampColors::Yellow);
        }
        // Xon leaves the CTS lamps alone.
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Initial);
    }

    // A controller that talks without end and never sends a CR: the pending
    // text and the log stay within their bounds.
    void flood()
    {
        Rig &rig = openRig();
        for (int i = 0; i < 5000; ++i)
            QVERIFY(rig.port.receive(QByteArray(1000, 'x')));
        QVERIFY(rig.events.rxLine().size() <= CommEvents::RxLineBound);
        QVERIFY(rig.log.text().size() < 2 * Logbook::Bound);
    }

    // The operator's keys: "c" turns readiness over, "r" RTS with an Xon or
    // Xoff to the controller, while the port is open; others are not taken.
    void keys()
    {
        Rig &rig = openRig();
        const auto press = [&rig](const QString &keys) {
            for (const QChar key : keys)
                QCOMPARE(rig.events.keyPressed(key), key == u'c' || key == u'r');
        };
        press(u"c"_s);
        QVERIFY(rig.events.clearToSend());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Red);
        press(u"cCRx"_s);
        QVERIFY(!rig.events.clearToSend() && !rig.port.rts() && rig.port.written().isEmpty());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Off);
        press(u"r"_s);
        QVERIFY(rig.port.rts());
        QCOMPARE(rig.lamps.color(LinkLamp::Rts), LampColors::Red);
        press(u"r"_s);
        QVERIFY(!rig.port.rts());
        QCOMPARE(rig.lamps.color(LinkLamp::Rts), LampColors::Off);
        QCOMPARE(rig.port.written(), Xon + Xoff);
        rig.port.close();
        press(u"r"_s);
        QVERIFY(rig.port.rts());
        QCOMPARE(rig.port.written(), Xon + Xoff);
        QCOMPARE(rig.log.text(), QString());
    }

    // Neither send waits: clearToSend is clear here.
    void send()
    {
        Rig &rig = openRig();
        QVERIFY(rig.sender.sendToolCommand(u"#,0020,0000,0000"_s));
        QVERIFY(rig.sender.sendHoleCommand(u"$1234,0567,0012"_s, 12, 57));
        const QString refused = u"writing to /dev/ttyUSB0 failed (Input/output error)"_s;
        rig.port.failWrites(refused);
        QVERIFY(!rig.sender.sendToolCommand(u"#,0001,0050,0000"_s));
        rig.port.close();
        QVERIFY(!rig.sender.sendHoleCommand(u"$1240,0600,0013"_s, 13, 60));
        QCOMPARE(rig.port.writes(), (QList<QByteArray>{"#,0020,0000,0000\r", "$1234,0567,0012\r"}));
        QCOMPARE(rig.logLines(),
                 (QStringList{u"     Sent: #,0020,0000,0000^"_s,
                              u"     Sent: $1234,0567,0012^    nr: 12 (armpos=57)"_s,
                              u"Not sent, "_s + refused + u": #,0001,0050,0000"_s,
                              u"Not sent, the port is closed: $1240,0600,0013"_s}));
    }

    // The last baud rate, then parity and stop bits past their lists.
    void settingsText()
    {
        QCOMPARE(PortController::buildPortSettings({5, 9, 1, 1, 0}), u"115200,E,8,1"_s);
        QCOMPARE(PortController::buildPortSettings({0, 5, 3, 1, 0}), QString());
        QCOMPARE(PortController::buildPortSettings({0, 5, 0, 1, 2}), QString());
    }

    // Steps: the buttons and choices of the panel ("baud=3" picks the fourth
    // baud rate), "loading" while the window loads, "fail=N" for opens refused
    // with error N, "vanish" for a device that goes away.
    void sequence_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("logged");
        const auto row = [](const char *name, const char *actions, const QStringList &logged) {
            QTest::newRow(name) << QString::fromLatin1(actions) << logged;
        };
        const QString open1 = u"COM 1: Open at 4800,N,8,1"_s;
        const QString open2400 = u"COM 1: Open at 2400,N,8,1"_s;
        const QString closed1 = u"COM 1: Closed"_s;

        // The standard values, chosen while open, count from the next open.
        row("standard values", "open std open", {open1, closed1, u"COM 1: Open at 9600,N,8,1"_s});
        row("open an open port", "open baud=3 open open",
            {open1, closed1, open2400, closed1, open2400});
        row("same entry again closes", "open baud=4", {open1, closed1});
        row("choices and open at start while loading", "open loading stop=1 atstart", {open1});
        row("close names the port that was open; mapped port, 2400,O,7,2",
            "open port=1 baud=3 parity=2 data=0 stop=1 open",
            {open1, closed1, u"COM 2: Open at 2400,O,7,2"_s});
        row("no device", "port=2 open",
            {u"COM 3Open error: 8002"_s, u"No device for COM3: only 1 serial port is present and "
                                         "ports.map has no line for COM3"_s});
        row("in use", "fail=8005 open",
            {u"COM 1Cannot be opened, already in use"_s, u"/dev/ttyUSB0 cannot be opened"_s});
        row("no baud rate", "baud=-1 open",
            {u"COM 1Open error: 8011"_s, u"No baud rate is chosen"_s});
        row("vanished", "open vanish close open",
            {open1, closed1, u"/dev/ttyUSB0 is gone (device unplugged)"_s, open1});
    }

    void sequence()
    {
        QFETCH(QString, actions);
        QFETCH(QStringList, logged);
        Rig &rig = *m_rig;
        PortController &c = rig.controller;
        QSignalSpy opened(&c, &PortController::portOpened);
        QSignalSpy lost(&c, &PortController::portLost);
        rig.port.setCts(true);
        int opens = 0;
        for (const QString &action : actions.split(u' ')) {
            const QString name = action.section(u'=', 0, 0);
            const int value = action.section(u'=', 1).toInt();
            const std::map<QString, std::function<void()>> steps = {
                {u"open"_s, [&] { c.openPort(); }},
                {u"close"_s, [&] { c.closePort(); }},
                {u"atstart"_s, [&] { c.openPortAtStart(); }},
                {u"std"_s, [&] { c.applyStandardValues(); }},
                {u"loading"_s, [&] { rig.formLoading = true; }},
                {u"port"_s, [&] { c.choosePort(value); }},
                {u"baud"_s, [&] { c.chooseBaud(value); }},
                {u"parity"_s, [&] { c.chooseParity(value); }},
                {u"data"_s, [&] { c.chooseDataBits(value); }},
                {u"stop"_s, [&] { c.chooseStopBits(value); }},
                {u"fail"_s, [&] { rig.port.failOpens(value); }},
                {u"vanish"_s, [&] { rig.port.vanish(); }}};
            QVERIFY2(steps.count(name), qPrintable(action));
            steps.at(name)();
            opens += name == u"open"_s && rig.port.isOpen() ? 1 : 0;
            QCOMPARE(c.portOpen(), rig.port.isOpen());
        }
        QCOMPARE(rig.logLines(), logged);
        QCOMPARE(rig.lamps.color(LinkLamp::Open),
                 c.portOpen() ? LampColors::PortOpen : LampColors::PortClosed);
        // The controller keeps CTS high: only an open port shows it.
        QCOMPARE(rig.events.clearToSend(), c.portOpen());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), c.portOpen() ? LampColors::Red : LampColors::Off);
        QCOMPARE(opened.size(), opens);
        QCOMPARE(lost.size(), actions.count(u"vanish"_s));
    }

    void lines()
    {
        Rig &rig = *m_rig;
        // "force on" acts at once, while closed too; the open asserts it.
        rig.controller.setForceDtr(true);
        QCOMPARE(rig.lamps.color(LinkLamp::Dtr), LampColors::Red);
        rig.controller.openPort();
        QVERIFY(rig.port.dtr() && !rig.port.rts());

        // closePort drops both lines but keeps the boxes; the next open
        // asserts them again before the device is opened.
        rig.controller.setForceRts(true);
        rig.port.clearCalls();
        rig.controller.closePort();
        QCOMPARE(rig.port.calls(), (QStringList{u"dtr 0"_s, u"rts 0"_s, u"close"_s}));
        QCOMPARE(rig.lamps.color(LinkLamp::Dtr), LampColors::Off);
        QVERIFY(rig.controller.forceDtr() && rig.controller.forceRts());
        rig.port.clearCalls();
        rig.controller.openPort();
        QCOMPARE(rig.port.calls(),
                 (QStringList{u"dtr 1"_s, u"rts 1"_s, u"open /dev/ttyUSB0 4800,N,8,1"_s}));
        // CTS low: the open leaves the controller not ready.
        QVERIFY(!rig.events.clearToSend());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Off);
    }

    // The indent of an entry by its kind; every entry is announced.
    void entry()
    {
        Logbook log;
        QSignalSpy appended(&log, &Logbook::appended);
        for (const LogKind kind : {LogKind::Sent, LogKind::Received, LogKind::Plain})
            log.writeLog(u"ok"_s, kind);
        const QString received = QString(14, u' ') + u"ok\r\n"_s;
        QCOMPARE(log.text(), u"     ok\r\n"_s + received + u"ok\r\n"_s);
        QCOMPARE(appended.size(), 3);
        QCOMPARE(appended.at(1).at(0).toString(), received);
    }

    void bound()
    {
        // One entry of 10000 characters, at the bound, or 10001, just past it,
        // with digits that show where a cut falls.
        for (const int length : {10000, 10001}) {
            const bool cut = length == 10001;
            Logbook log;
            QString message;
            while (message.size() < length - 2)
                message += QString::number(message.size() % 10);
            log.writeLog(message);
            const QString before = message + u"\r\n"_s;
            QSignalSpy shortened(&log, &Logbook::shortened);
            log.writeLog(u"next"_s, LogKind::Sent);
            const QString kept = cut ? before.right(5001) : before;
            QCOMPARE(log.text(), kept + u"     next\r\n"_s);
            QCOMPARE(shortened.value(0).value(0).toString(), cut ? kept : QString());
        }

        // The cut would fall between the two halves of a character outside the
        // basic plane: the whole character goes.
        Logbook log;
        log.writeLog(QString(5000, u'a'));
        log.writeLog(QString::fromUcs4(U"\U0001D11E") + QString(4998, u'b'));
        QCOMPARE(log.text().size(), 10004);
        log.writeLog(QString());
        QCOMPARE(log.text(), QString(4998, u'b') + u"\r\n\r\n"_s);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("devices"); // COM1 to COM6, by "|"
        QTest::newRow("comments, blanks, tabs, CR LF, lone CR")
            << u"# the punch\r\n\r\n  \t\r\n\tCOM3\t /dev/ttyUSB1  # adapter\rCOM6 /dev/ttyS3"_s
            << u"||/dev/ttyUSB1|||/dev/ttyS3"_s;
        QTest::newRow("bad lines ignored")
            << u"COM1\nCOM7 /dev/x\nCOM0 /dev/x\nCOM /dev/x\nLPT1 /dev/x\nCOM2 /dev/a /dev/b\n"
               "COM12 /dev/x\nCOM 3 /dev/x\nCOM4 /dev/ok\n"_s
            << u"|||/dev/ok||"_s;
        QTest::newRow("last line counts, lower case, bare device name")
            << u"COM5 /dev/first\ncom5 ttyACM0\n"_s << u"||||/dev/ttyACM0|"_s;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, devices);
        const PortMap map = PortMap::parse(text);
        QStringList mapped;
        for (int port = 0; port <= PortMap::PortCount + 1; ++port)
            mapped << map.mappedDevice(port);
        QCOMPARE(mapped.join(u'|'), u'|' + devices + u'|');
    }

    // Adapters (by name, or by the system's word: "*") before the other ports,
    // each group by name with numbers in numeric order.
    void orderPresent()
    {
        const QString present =
            u"/dev/ttyS10 /dev/ttyUSB10 /dev/ttyAMA0 /dev/ttyS9 /dev/ttyXR0* /dev/ttyACM0 /dev/ttyUSB2"_s;
        QCOMPARE(PortMap::orderPresent(ports(present)).join(u' '),
                 u"/dev/ttyACM0 /dev/ttyUSB2 /dev/ttyUSB10 /dev/ttyXR0 /dev/ttyAMA0 /dev/ttyS9 "
                 u"/dev/ttyS10"_s);
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("present");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("found"); // the device, or why there is none
        const QString two = u"/dev/ttyS0 /dev/ttyUSB0"_s;
        const QString none = u"No device for COM%1: %2 and ports.map has no line for COM%1"_s;
        QTest::newRow("one adapter is COM1") << QString() << two << 1 << u"/dev/ttyUSB0"_s;
        QTest::newRow("mapped wins, need not be present")
            << u"COM1 /dev/ttyUSB9\n"_s << two << 1 << u"/dev/ttyUSB9"_s;
        QTest::newRow("n-th present, counting mapped ones")
            << u"COM1 /dev/ttyUSB0\n"_s << two << 2 << u"/dev/ttyS0"_s;
        QTest::newRow("none present")
            << QString() << QString() << 1 << none.arg(1).arg(u"no serial port is present"_s);
        QTest::newRow("one present") << QString() << u"/dev/ttyS0"_s << 3
                                     << none.arg(3).arg(u"only 1 serial port is present"_s);
        QTest::newRow("two present")
            << QString() << two << 6 << none.arg(6).arg(u"only 2 serial ports are present"_s);
    }

    void resolve()
    {
        QFETCH(QString, map);
        QFETCH(QString, present);
        QFETCH(int, port);
        QFETCH(QString, found);
        const PortResolution result = PortMap::parse(map).resolve(port, ports(present));
        QCOMPARE(result.ok() ? result.device : result.problem, found);
        QCOMPARE(result.ok(), found.startsWith(u'/'));
        // Mapped exactly when the device is the one in the map's line.
        QCOMPARE(result.mapped, result.ok() && map.contains(result.device));
    }

    void withLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("expected");
        QTest::newRow("added after a last line without its end")
            << u"# map\nCOM2 /dev/ttyS0"_s << 1 << u"# map\nCOM2 /dev/ttyS0\nCOM1 /dev/pts/3\n"_s;
        QTest::newRow("replaced in place, comment kept")
            << u"# a\nCOM1 /dev/ttyUSB0   # the punch\n# b\n"_s << 1
            << u"# a\nCOM1 /dev/pts/3 # the punch\n# b\n"_s;
        QTest::newRow("later duplicates dropped") << u"com1 /dev/a\nCOM2 /dev/b\nCOM1 /dev/c\n"_s
                                                  << 1 << u"COM1 /dev/pts/3\nCOM2 /dev/b\n"_s;
        // The first line end found serves the added line too.
        QTest::newRow("CR LF kept")
            << u"# x\r\nCOM6 /dev/a\r\n"_s << 2 << u"# x\r\nCOM6 /dev/a\r\nCOM2 /dev/pts/3\r\n"_s;
    }

    void withLine()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        QFETCH(QString, expected);
        const QString result = mapTextWithLine(text, port, u"/dev/pts/3"_s);
        QCOMPARE(result, expected);
        QCOMPARE(PortMap::parse(result).mappedDevice(port), u"/dev/pts/3"_s);
    }

    void writeLine()
    {
        const QString path = m_dir.filePath(u"settings/ports.map"_s);
        QString error;
        QVERIFY2(writeMapLine(path, 2, u"/dev/pts/7"_s, &error), qPrintable(error));
        QVERIFY(writeMapLine(path, 1, u"/dev/ttyUSB0"_s));
        const QByteArray written("COM2 /dev/pts/7\nCOM1 /dev/ttyUSB0\n");
        QCOMPARE(readFile(path), written);
        QVERIFY(PortMap::load(m_dir.filePath(u"missing.map"_s)).mappedDevice(1).isEmpty());

        // A port beyond COM6 and devices that would break the map are refused,
        // and the file stays as it was.
        const std::pair<int, QString> refused[] = {
            {7, u"/dev/ttyS0"_s}, {1, u"/dev/a#b"_s}, {1, u"/dev/a\nCOM2 /dev/b"_s}};
        for (const auto &[port, device] : refused) {
            error.clear();
            QVERIFY(!writeMapLine(path, port, device, &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(readFile(path), written);
        }
    }

private:
    // The rig with its port opened past the controller.
    Rig &openRig()
    {
        m_rig->port.open(u"/dev/ttyUSB0"_s, u"9600,N,8,1"_s);
        return *m_rig;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Rig> m_rig;
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
