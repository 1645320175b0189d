#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "link/portmap.h"
#include "punchsim/portmapwriter.h"
#include "tests/support/fakeserialport.h"
#include "tests/support/testhelpers.h"

#include <QFile>
#include <QSignalSpy>
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

// COM1 is the one adapter present, COM2 is bound in the map, COM3 has no
// device.
struct Rig
{
    explicit Rig(const QString &dir)
        : controller(port, log, lamps, events, formLoading,
                     {dir, [] {
                          return QList<PresentPort>{{u"/dev/ttyUSB0"_s, true}};
                      }})
    {}
    QStringList logLines() const { return log.text().split(u"\r\n"_s, Qt::SkipEmptyParts); }

    FakeSerialPort port;
    Logbook log;
    LinkLamps lamps;
    bool formLoading = false;
    qint32 nextNote = 42;
    CommEvents events{port, log, lamps, [this] { return nextNote; }};
    LinkSender sender{port, log, events};
    PortController controller;
};

// Devices by blanks; those marked with a "*" are adapters by the system's word.
QList<PresentPort> ports(const QString &devices)
{
    QList<PresentPort> list;
    for (const QString &device : devices.split(u' ', Qt::SkipEmptyParts))
        list.append({QString(device).remove(u'*'), device.endsWith(u'*')});
    return list;
}

} // namespace

// The link: the port map, the log, and the link on a fake port with the
// events it receives, the keys, the sends and the port's controller.
class TestLink : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QFile map(m_dir.filePath(PortMap::fileName()));
        QVERIFY(map.open(QIODevice::WriteOnly | QIODevice::Truncate));
        map.write("COM2 /dev/ttyS9\n");
        map.close();
        m_rig = std::make_unique<Rig>(m_dir.path() + u'/');
    }

    void eventTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("logged");
        for (const char *row :
             {"7 End of File Detected", "1001 Break Received", "1002 CTS Timeout",
              "1003 DSR Timeout", "1004 Framing Error", "1005 Unknown error or event: 1005",
              "1006 Overrun Error", "1007 Carrier Detect Timeout", "1008 Receive Buffer Overflow",
              "1009 Parity Error", "1010 Transmit Buffer Full", "1011 Error retrieving DCB",
              "0 Unknown error or event: 0"}) {
            const QString text = QString::fromLatin1(row);
            QTest::newRow(row) << text.section(u' ', 0, 0).toInt()
                               << u'[' + text.section(u' ', 1) + u"]\r\n"_s;
        }
        QTest::newRow("1 is no event") << 1 << QString();
    }

    void eventTexts()
    {
        Rig &rig = openRig();
        QFETCH(int, code);
        QFETCH(QString, logged);
        rig.port.ring();
        QCOMPARE(rig.lamps.color(LinkLamp::Ri), LampColors::Red);
        // Line errors the port reports arrive through its signal.
        if (code == 1001 || code == 1004 || code == 1006 || code == 1008 || code == 1009)
            rig.port.raiseLineError(static_cast<LineError>(code));
        else
            rig.events.onComm(code);
        QCOMPARE(rig.log.text(), logged);
        QCOMPARE(rig.lamps.color(LinkLamp::Ri), LampColors::Off); // every event greys it
    }

    void receive_data()
    {
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<int>("ready"); // clearToSend afterwards; it starts clear
        QTest::addColumn<QString>("rxLine");

        using B = QList<QByteArray>;
        QTest::newRow("consecutive CRs")
            << B{"\r\ra\r\r\r\nb\r"} << recvd(u"a"_s) + recvd(u"b"_s) << 0 << "";
        QTest::newRow("lines and a rest")
            << B{"one\r\ntwo\r\nthr"} << recvd(u"one"_s) + recvd(u"two"_s) << 0 << "thr";
        QTest::newRow("LF only") << B{"\n\n"} << "" << 0 << "";
        QTest::newRow("Xon CR LF") << B{Xon + "\r\n"} << "" << 1 << "";
        QTest::newRow("Xon then Xoff in one batch")
            << B{Xon + "ok" + Xoff + "\r"} << recvd(u"ok"_s) << 0 << "";
        QTest::newRow("Xoff then Xon in one batch")
            << B{Xoff + "o" + Xoff + "k" + Xon + "\r"} << recvd(u"ok"_s) << 1 << "";
        QTest::newRow("flow control inside a pending line")
            << B{"ab" + Xon, "c" + Xoff + "\r"} << recvd(u"abc"_s) << 0 << "";
        QTest::newRow("stop split over two batches")
            << B{"st", "op\r"} << recvd(u"stop"_s) << 0 << "";
        QTest::newRow("STOP in capitals") << B{"STOP\r\n"} << recvd(u"STOP"_s) << 0 << "";
        QTest::newRow("stop drops pending text and flow control")
            << B{"ab", "x\r" + Xon + "stop"} << Stop41 << 0 << "";
        // Past the bound without a CR, the pending text is logged as a line.
        const QByteArray full(CommEvents::RxLineBound, 'a');
        QTest::newRow("line bound")
            << B{full, "b"} << recvd(QString::fromLatin1(full + "b")) << 0 << "";
        QTest::newRow("after a stop") << B{"stop", "ok\r"} << Stop41 + recvd(u"ok"_s) << 0 << "";
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

    void keys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("rts");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("c") << u"c"_s << true << true << false << QByteArray();
        QTest::newRow("c twice") << u"cc"_s << true << false << false << QByteArray();
        QTest::newRow("r") << u"r"_s << true << false << true << Xon;
        QTest::newRow("r twice") << u"rr"_s << true << false << false << Xon + Xoff;
        QTest::newRow("upper case and others")
            << u"CRx"_s << true << false << false << QByteArray();
        QTest::newRow("r while closed") << u"r"_s << false << false << true << QByteArray();
    }

    void keys()
    {
        Rig &rig = openRig();
        QFETCH(QString, keys);
        QFETCH(bool, portOpen);
        QFETCH(bool, ready);
        QFETCH(bool, rts);
        QFETCH(QByteArray, written);
        if (!portOpen)
            rig.port.close();
        for (const QChar key : std::as_const(keys))
            QCOMPARE(rig.events.keyPressed(key), key == u'c' || key == u'r');
        QCOMPARE(rig.events.clearToSend(), ready);
        if (keys.contains(u'c'))
            QCOMPARE(rig.lamps.color(LinkLamp::Cts), ready ? LampColors::Red : LampColors::Off);
        QCOMPARE(rig.port.rts(), rts);
        if (keys.contains(u'r'))
            QCOMPARE(rig.lamps.color(LinkLamp::Rts), rts ? LampColors::Red : LampColors::Off);
        QCOMPARE(rig.port.written(), written);
        QCOMPARE(rig.log.text(), QString());
    }

    void send_data()
    {
        QTest::addColumn<int>("hole"); // 0 for a tool command
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("port"); // "open", "closed" or why writes fail
        QTest::addColumn<QString>("logged");
        const QString open = u"open"_s;
        const QString refused = u"writing to /dev/ttyUSB0 failed (Input/output error)"_s;
        QTest::newRow("tool") << 0 << u"#,0020,0000,0000"_s << open
                              << u"     Sent: #,0020,0000,0000^"_s;
        QTest::newRow("hole") << 12 << u"$1234,0567,0012"_s << open
                              << u"     Sent: $1234,0567,0012^    nr: 12 (armpos=57)"_s;
        QTest::newRow("tool, port closed") << 0 << u"#,0001,0050,0000"_s << u"closed"_s
                                           << u"Not sent, the port is closed: #,0001,0050,0000"_s;
        QTest::newRow("hole, port closed") << 12 << u"$1234,0567,0012"_s << u"closed"_s
                                           << u"Not sent, the port is closed: $1234,0567,0012"_s;
        QTest::newRow("hole, write refused") << 12 << u"$1234,0567,0012"_s << refused
                                             << u"Not sent, "_s + refused + u": $1234,0567,0012"_s;
    }

    void send()
    {
        Rig &rig = openRig();
        QFETCH(int, hole);
        QFETCH(QString, line);
        QFETCH(QString, port);
        QFETCH(QString, logged);
        const bool portOpen = port == u"open"_s;
        if (port == u"closed"_s)
            rig.port.close();
        else if (!portOpen)
            rig.port.failWrites(port);
        // Neither send waits: clearToSend is clear here.
        QCOMPARE(hole ? rig.sender.sendHoleCommand(line, hole, 57)
                      : rig.sender.sendToolCommand(line),
                 portOpen);
        QCOMPARE(rig.port.writes(),
                 portOpen ? QList<QByteArray>{line.toLatin1() + '\r'} : QList<QByteArray>());
        QCOMPARE(rig.log.text(), logged + u"\r\n"_s);
    }

    void settingsText()
    {
        // A full choice, then a baud rate, parity and stop bits past their lists.
        const std::pair<PortChoices, QString> rows[] = {
            {{5, 9, 1, 1, 0}, u"115200,E,8,1"_s},
            {{0, -1, 0, 1, 0}, QString()},
            {{0, 5, 3, 1, 0}, QString()},
            {{0, 5, 0, 1, 2}, QString()},
        };
        for (const auto &[choices, text] : rows)
            QCOMPARE(PortController::buildPortSettings(choices), text);
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
        const QString refused = u"/dev/ttyUSB0 cannot be opened"_s;

        row("standard values, open", "std open", {u"COM 1: Open at 9600,N,8,1"_s});
        row("open an open port", "open baud=3 open open",
            {open1, closed1, open2400, closed1, open2400});
        row("same entry again closes", "open baud=4", {open1, closed1});
        row("choices while closed", "baud=5 parity=1 port=1", {});
        row("standard values while open", "open std", {open1});
        row("choices while loading", "open loading stop=1", {open1});
        row("open at start while loading", "loading atstart", {});
        row("close twice", "open close close", {open1, closed1});
        row("close names the port that was open", "open port=1 open",
            {open1, closed1, u"COM 2: Open at 4800,N,8,1"_s});
        row("mapped port, 2400,O,7,2", "port=1 baud=3 parity=2 data=0 stop=1 open",
            {u"COM 2: Open at 2400,O,7,2"_s});
        row("no device", "port=2 open",
            {u"COM 3Open error: 8002"_s, u"No device for COM3: only 1 serial port is present and "
                                         "ports.map has no line for COM3"_s});
        row("in use", "fail=8005 open", {u"COM 1Cannot be opened, already in use"_s, refused});
        row("failed reopen", "open fail=8002 open",
            {open1, closed1, u"COM 1Open error: 8002"_s, refused});
        row("no baud rate", "baud=-1 open",
            {u"COM 1Open error: 8011"_s, u"No baud rate is chosen"_s});
        row("lost", "open vanish", {open1, closed1, u"/dev/ttyUSB0 is gone (device unplugged)"_s});
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
        QCOMPARE(rig.lamps.color(LinkLamp::Open), c.portOpen()       ? LampColors::PortOpen
                                                  : logged.isEmpty() ? LampColors::Initial
                                                                     : LampColors::PortClosed);
        // The controller keeps CTS high: only an open port shows it.
        QCOMPARE(rig.events.clearToSend(), c.portOpen());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts),
                 rig.lamps.color(LinkLamp::Open) == LampColors::PortOpen ? LampColors::Red
                 : logged.isEmpty()                                      ? LampColors::Initial
                                                                         : LampColors::Off);
        QCOMPARE(opened.size(), opens);
        QCOMPARE(lost.size(), actions.count(u"vanish"_s));
    }

    void lines()
    {
        Rig &rig = *m_rig;
        // "force on" acts at once, while closed too; the open asserts it.
        rig.controller.setForceDtr(true);
        QCOMPARE(rig.lamps.color(LinkLamp::Dtr), LampColors::Red);
        rig.port.setCts(true);
        rig.controller.openPort();
        QVERIFY(rig.port.dtr() && !rig.port.rts());
        QVERIFY(rig.events.clearToSend());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Red);

        // closePort drops both lines but keeps the boxes; the next open
        // asserts them again before the device is opened.
        rig.controller.setForceRts(true);
        rig.port.clearCalls();
        rig.controller.closePort();
        QCOMPARE(rig.port.calls(), (QStringList{u"dtr 0"_s, u"rts 0"_s, u"close"_s}));
        QCOMPARE(rig.lamps.color(LinkLamp::Dtr), LampColors::Off);
        QVERIFY(rig.controller.forceDtr() && rig.controller.forceRts());
        rig.port.clearCalls();
        rig.port.setCts(false);
        rig.controller.openPort();
        QCOMPARE(rig.port.calls(),
                 (QStringList{u"dtr 1"_s, u"rts 1"_s, u"open /dev/ttyUSB0 4800,N,8,1"_s}));
        QVERIFY(!rig.events.clearToSend());
        QCOMPARE(rig.lamps.color(LinkLamp::Cts), LampColors::Off);
    }

    void entry_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        const QString sent = u"Sent: #,0020,0000,0000^"_s;
        QTest::newRow("s") << sent << u"s"_s << u"     "_s + sent;
        QTest::newRow("S") << sent << u"S"_s << u"     "_s + sent;
        QTest::newRow("r") << u"Recvd: ok"_s << u"r"_s << QString(14, u' ') + u"Recvd: ok"_s;
        QTest::newRow("R") << u"Recvd: ok"_s << u"R"_s << QString(14, u' ') + u"Recvd: ok"_s;
        QTest::newRow("no kind") << u"Punching started"_s << QString() << u"Punching started"_s;
        QTest::newRow("other kind") << u"x"_s << u"q"_s << u"x"_s;
        QTest::newRow("empty message") << QString() << QString() << QString();
    }

    void entry()
    {
        QFETCH(QString, message);
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        Logbook log;
        QSignalSpy appended(&log, &Logbook::appended);
        log.writeLog(u"first"_s);
        log.writeLog(message, kind);
        QCOMPARE(log.text(), u"first\r\n"_s + expected + u"\r\n"_s);
        QCOMPARE(appended.size(), 2);
        QCOMPARE(appended.last().at(0).toString(), expected + u"\r\n"_s);
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
            QCOMPARE(log.text(), before);

            QSignalSpy shortened(&log, &Logbook::shortened);
            QSignalSpy appended(&log, &Logbook::appended);
            log.writeLog(u"next"_s, u"s"_s);
            const QString kept = cut ? before.right(5001) : before;
            QCOMPARE(log.text(), kept + u"     next\r\n"_s);
            QCOMPARE(shortened.size(), cut ? 1 : 0);
            if (cut)
                QCOMPARE(shortened.first().at(0).toString(), kept);
            QCOMPARE(appended.size(), 1);
        }
    }

    void cutKeepsWholeCharacters()
    {
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
        QTest::newRow("two lines") << u"COM1 /dev/serial/by-id/usb-FTDI-port0\nCOM2 /dev/ttyS0\n"_s
                                   << u"/dev/serial/by-id/usb-FTDI-port0|/dev/ttyS0||||"_s;
        QTest::newRow("comments, blanks, tabs, CR LF")
            << u"# the punch\r\n\r\n  \t\r\n\tCOM3\t /dev/ttyUSB1  # adapter\r\nCOM6 /dev/ttyS3"_s
            << u"||/dev/ttyUSB1|||/dev/ttyS3"_s;
        QTest::newRow("lone CR ends a line")
            << u"COM1 /dev/a\rCOM2 /dev/b\r"_s << u"/dev/a|/dev/b||||"_s;
        QTest::newRow("bad lines ignored")
            << u"COM1\nCOM7 /dev/x\nCOM0 /dev/x\nCOM /dev/x\nLPT1 /dev/x\nCOM2 /dev/a /dev/b\n"
               "COM12 /dev/x\nCOM 3 /dev/x\nCOM4 /dev/ok\n"_s
            << u"|||/dev/ok||"_s;
        QTest::newRow("last line counts")
            << u"COM1 /dev/first\nCOM1 /dev/second\n"_s << u"/dev/second|||||"_s;
        QTest::newRow("lower case, bare device name")
            << u"com5 ttyACM0\n"_s << u"||||/dev/ttyACM0|"_s;
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

    void orderPresent_data()
    {
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("ordered");
        QTest::newRow("adapters before on-board")
            << u"/dev/ttyS1 /dev/ttyUSB1 /dev/ttyS0 /dev/ttyACM0 /dev/ttyUSB0"_s
            << u"/dev/ttyACM0 /dev/ttyUSB0 /dev/ttyUSB1 /dev/ttyS0 /dev/ttyS1"_s;
        QTest::newRow("numbers in numeric order")
            << u"/dev/ttyUSB10 /dev/ttyUSB2 /dev/ttyS10 /dev/ttyS9"_s
            << u"/dev/ttyUSB2 /dev/ttyUSB10 /dev/ttyS9 /dev/ttyS10"_s;
        QTest::newRow("USB by the system's word") << u"/dev/ttyS0 /dev/ttyXR0* /dev/ttyAMA0"_s
                                                  << u"/dev/ttyXR0 /dev/ttyAMA0 /dev/ttyS0"_s;
    }

    void orderPresent()
    {
        QFETCH(QString, present);
        QFETCH(QString, ordered);
        QCOMPARE(PortMap::orderPresent(ports(present)).join(u' '), ordered);
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("present");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("mapped");
        QTest::addColumn<QString>("problem");
        const QString two = u"/dev/ttyS0 /dev/ttyUSB0"_s;
        const QString none = u"No device for COM%1: %2 and ports.map has no line for COM%1"_s;
        QTest::newRow("one adapter is COM1")
            << QString() << two << 1 << u"/dev/ttyUSB0"_s << false << QString();
        QTest::newRow("mapped wins")
            << u"COM1 /dev/pts/4\n"_s << two << 1 << u"/dev/pts/4"_s << true << QString();
        QTest::newRow("mapped device need not be present")
            << u"COM4 /dev/ttyUSB9\n"_s << QString() << 4 << u"/dev/ttyUSB9"_s << true << QString();
        QTest::newRow("n-th present, counting mapped ones")
            << u"COM1 /dev/ttyUSB0\n"_s << two << 2 << u"/dev/ttyS0"_s << false << QString();
        QTest::newRow("none present") << QString() << QString() << 1 << QString() << false
                                      << none.arg(1).arg(u"no serial port is present"_s);
        QTest::newRow("one present") << QString() << u"/dev/ttyS0"_s << 3 << QString() << false
                                     << none.arg(3).arg(u"only 1 serial port is present"_s);
        QTest::newRow("two present") << QString() << two << 6 << QString() << false
                                     << none.arg(6).arg(u"only 2 serial ports are present"_s);
    }

    void resolve()
    {
        QFETCH(QString, map);
        QFETCH(QString, present);
        QFETCH(int, port);
        QFETCH(QString, device);
        QFETCH(bool, mapped);
        QFETCH(QString, problem);
        const PortResolution result = PortMap::parse(map).resolve(port, ports(present));
        QCOMPARE(result.device, device);
        QCOMPARE(result.ok(), !device.isEmpty());
        QCOMPARE(result.mapped, mapped);
        QCOMPARE(result.problem, problem);
    }

    void withLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << 1 << u"COM1 /dev/pts/3\n"_s;
        QTest::newRow("appended after the others")
            << u"# map\nCOM2 /dev/ttyS0\n"_s << 1 << u"# map\nCOM2 /dev/ttyS0\nCOM1 /dev/pts/3\n"_s;
        QTest::newRow("last line without its end")
            << u"COM2 /dev/ttyS0"_s << 1 << u"COM2 /dev/ttyS0\nCOM1 /dev/pts/3\n"_s;
        QTest::newRow("replaced in place, comment kept")
            << u"# a\nCOM1 /dev/ttyUSB0   # the punch\n# b\n"_s << 1
            << u"# a\nCOM1 /dev/pts/3 # the punch\n# b\n"_s;
        QTest::newRow("later duplicates dropped") << u"com1 /dev/a\nCOM2 /dev/b\nCOM1 /dev/c\n"_s
                                                  << 1 << u"COM1 /dev/pts/3\nCOM2 /dev/b\n"_s;
        QTest::newRow("commented line stays")
            << u"#COM1 /dev/old\n"_s << 1 << u"#COM1 /dev/old\nCOM1 /dev/pts/3\n"_s;
        QTest::newRow("CR LF kept")
            << u"# x\r\nCOM6 /dev/a\r\n"_s << 6 << u"# x\r\nCOM6 /dev/pts/3\r\n"_s;
        QTest::newRow("CR LF for an added line")
            << u"# x\r\n"_s << 2 << u"# x\r\nCOM2 /dev/pts/3\r\n"_s;
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
        QTemporaryDir dir;
        const QString path = dir.filePath(u"settings/ports.map"_s);
        QString error;
        QVERIFY2(writeMapLine(path, 2, u"/dev/pts/7"_s, &error), qPrintable(error));
        QCOMPARE(readFile(path), QByteArray("COM2 /dev/pts/7\n"));
        QVERIFY(writeMapLine(path, 1, u"/dev/ttyUSB0"_s));
        QVERIFY(writeMapLine(path, 2, u"/dev/pts/8"_s));
        QCOMPARE(readFile(path), QByteArray("COM2 /dev/pts/8\nCOM1 /dev/ttyUSB0\n"));
        const PortMap map = PortMap::load(path);
        QCOMPARE(map.mappedDevice(1) + map.mappedDevice(2), u"/dev/ttyUSB0/dev/pts/8"_s);
        QVERIFY(PortMap::load(dir.filePath(u"missing.map"_s)).mappedDevice(1).isEmpty());

        // A port beyond COM6 and devices that would break the map are refused,
        // and the file stays as it was.
        const std::pair<int, QString> refused[] = {
            {7, u"/dev/ttyS0"_s}, {1, u"/dev/a#b"_s}, {1, u"/dev/a\nCOM2 /dev/b"_s}};
        for (const auto &[port, device] : refused) {
            error.clear();
            QVERIFY(!writeMapLine(path, port, device, &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(readFile(path), QByteArray("COM2 /dev/pts/8\nCOM1 /dev/ttyUSB0\n"));
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
