// The link on a fake port: the events it receives, the keys, the sends, and
// the port's controller.

#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "tests/support/fakeserialport.h"

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

} // namespace

class TestLink : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void eventTexts_data();
    void eventTexts();
    void receive_data();
    void receive();
    void flood();
    void keys_data();
    void keys();
    void send_data();
    void send();
    void settingsText_data();
    void settingsText();
    void sequence_data();
    void sequence();
    void lines();

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

void TestLink::init()
{
    QFile map(m_dir.filePath(PortMap::fileName()));
    QVERIFY(map.open(QIODevice::WriteOnly | QIODevice::Truncate));
    map.write("COM2 /dev/ttyS9\n");
    map.close();
    m_rig = std::make_unique<Rig>(m_dir.path() + u'/');
}

void TestLink::eventTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("logged");
    for (const char *row :
         {"7 End of File Detected", "1001 Break Received", "1002 CTS Timeout", "1003 DSR Timeout",
          "1004 Framing Error", "1005 Unknown error or event: 1005", "1006 Overrun Error",
          "1007 Carrier Detect Timeout", "1008 Receive Buffer Overflow", "1009 Parity Error",
          "1010 Transmit Buffer Full", "1011 Error retrieving DCB",
          "0 Unknown error or event: 0"}) {
        const QString text = QString::fromLatin1(row);
        QTest::newRow(row) << text.section(u' ', 0, 0).toInt()
                           << u'[' + text.section(u' ', 1) + u"]\r\n"_s;
    }
    QTest::newRow("1 is no event") << 1 << QString();
}

void TestLink::eventTexts()
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

void TestLink::receive_data()
{
    QTest::addColumn<QList<QByteArray>>("batches");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<int>("ready"); // clearToSend afterwards; it starts clear
    QTest::addColumn<QString>("rxLine");

    using B = QList<QByteArray>;
    QTest::newRow("line over two batches") << B{"ab", "c\r\n"} << recvd(u"abc"_s) << 0 << "";
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
    QTest::newRow("stop split over two batches") << B{"st", "op\r"} << recvd(u"stop"_s) << 0 << "";
    QTest::newRow("STOP in capitals") << B{"STOP\r\n"} << recvd(u"STOP"_s) << 0 << "";
    QTest::newRow("stop drops pending text and flow control")
        << B{"ab", "x\r" + Xon + "stop"} << Stop41 << 0 << "";
    // Past the bound without a CR, the pending text is logged as a line.
    const QByteArray full(CommEvents::RxLineBound, 'a');
    QTest::newRow("line bound") << B{full, "b"} << recvd(QString::fromLatin1(full + "b")) << 0
                                << "";
    QTest::newRow("after a stop") << B{"stop", "ok\r"} << Stop41 + recvd(u"ok"_s) << 0 << "";
}

void TestLink::receive()
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
void TestLink::flood()
{
    Rig &rig = openRig();
    for (int i = 0; i < 5000; ++i)
        QVERIFY(rig.port.receive(QByteArray(1000, 'x')));
    QVERIFY(rig.events.rxLine().size() <= CommEvents::RxLineBound);
    QVERIFY(rig.log.text().size() < 2 * Logbook::Bound);
}

void TestLink::keys_data()
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
    QTest::newRow("upper case and others") << u"CRx"_s << true << false << false << QByteArray();
    QTest::newRow("r while closed") << u"r"_s << false << false << true << QByteArray();
}

void TestLink::keys()
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

void TestLink::send_data()
{
    QTest::addColumn<int>("hole"); // 0 for a tool command
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("logged");
    QTest::newRow("tool") << 0 << u"#,0020,0000,0000"_s << true
                          << u"     Sent: #,0020,0000,0000^"_s;
    QTest::newRow("hole") << 12 << u"$1234,0567,0012"_s << true
                          << u"     Sent: $1234,0567,0012^    nr: 12 (armpos=57)"_s;
    QTest::newRow("tool, port closed") << 0 << u"#,0001,0050,0000"_s << false
                                       << u"Not sent, the port is closed: #,0001,0050,0000"_s;
    QTest::newRow("hole, port closed") << 12 << u"$1234,0567,0012"_s << false
                                       << u"Not sent, the port is closed: $1234,0567,0012"_s;
}

void TestLink::send()
{
    Rig &rig = openRig();
    QFETCH(int, hole);
    QFETCH(QString, line);
    QFETCH(bool, portOpen);
    QFETCH(QString, logged);
    if (!portOpen)
        rig.port.close();
    // Neither send waits: clearToSend is clear here.
    QCOMPARE(hole ? rig.sender.sendHoleCommand(line, hole, 57) : rig.sender.sendToolCommand(line),
             portOpen);
    QCOMPARE(rig.port.writes(),
             portOpen ? QList<QByteArray>{line.toLatin1() + '\r'} : QList<QByteArray>());
    QCOMPARE(rig.log.text(), logged + u"\r\n"_s);
}

void TestLink::settingsText_data()
{
    QTest::addColumn<PortChoices>("choices");
    QTest::addColumn<QString>("text");
    QTest::newRow("115200,E") << PortChoices{5, 9, 1, 1, 0} << u"115200,E,8,1"_s;
    QTest::newRow("no baud") << PortChoices{0, -1, 0, 1, 0} << QString();
    QTest::newRow("parity past the end") << PortChoices{0, 5, 3, 1, 0} << QString();
    QTest::newRow("stop bits past the end") << PortChoices{0, 5, 0, 1, 2} << QString();
}

void TestLink::settingsText()
{
    QFETCH(PortChoices, choices);
    QFETCH(QString, text);
    QCOMPARE(PortController::buildPortSettings(choices), text);
}

// Steps: the buttons and choices of the panel ("baud=3" picks the fourth
// baud rate), "loading" while the window loads, "fail=N" for opens refused
// with error N, "vanish" for a device that goes away.
void TestLink::sequence_data()
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

    row("open", "open", {open1});
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
    row("no baud rate", "baud=-1 open", {u"COM 1Open error: 8011"_s, u"No baud rate is chosen"_s});
    row("vanished", "open vanish close open",
        {open1, closed1, u"/dev/ttyUSB0 is gone (device unplugged)"_s, open1});
}

void TestLink::sequence()
{
    QFETCH(QString, actions);
    QFETCH(QStringList, logged);
    Rig &rig = *m_rig;
    PortController &c = rig.controller;
    QSignalSpy opened(&c, &PortController::portOpened);
    QSignalSpy lost(&c, &PortController::portLost);
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
    QCOMPARE(opened.size(), opens);
    QCOMPARE(lost.size(), actions.count(u"vanish"_s));
}

void TestLink::lines()
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

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
