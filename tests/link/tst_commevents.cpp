#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "tests/support/fakeserialport.h"

#include <QSignalSpy>
#include <QTest>

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

struct Rig
{
    Rig() { port.open(u"/dev/ttyUSB0"_s, u"9600,N,8,1"_s); }
    FakeSerialPort port;
    Logbook log;
    LinkLamps lamps;
    qint32 nextNote = 42;
    CommEvents events{port, log, lamps, [this] { return nextNote; }};
    LinkSender sender{port, log, events};
};

} // namespace

class TestCommEvents : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_rig = std::make_unique<Rig>(); }
    void eventTexts_data();
    void eventTexts();
    void receive_data();
    void receive();
    void keys_data();
    void keys();
    void send_data();
    void send();

private:
    std::unique_ptr<Rig> m_rig;
};

void TestCommEvents::eventTexts_data()
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

void TestCommEvents::eventTexts()
{
    QFETCH(int, code);
    QFETCH(QString, logged);
    m_rig->port.ring();
    QCOMPARE(m_rig->lamps.color(LinkLamp::Ri), LampColors::Red);
    // Line errors the port reports arrive through its signal.
    if (code == 1001 || code == 1004 || code == 1006 || code == 1008 || code == 1009)
        m_rig->port.raiseLineError(static_cast<LineError>(code));
    else
        m_rig->events.onComm(code);
    QCOMPARE(m_rig->log.text(), logged);
    QCOMPARE(m_rig->lamps.color(LinkLamp::Ri), LampColors::Off); // every event greys it
}

void TestCommEvents::receive_data()
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

void TestCommEvents::receive()
{
    QFETCH(QList<QByteArray>, batches);
    QFETCH(QString, logged);
    QFETCH(int, ready);
    QFETCH(QString, rxLine);
    QSignalSpy stops(&m_rig->events, &CommEvents::stopRequested);
    for (const QByteArray &batch : std::as_const(batches))
        QVERIFY(m_rig->port.receive(batch));
    QCOMPARE(m_rig->log.text(), logged);
    QCOMPARE(m_rig->events.clearToSend(), ready == 1);
    QCOMPARE(m_rig->events.rxLine(), rxLine);
    QCOMPARE(stops.size(), logged.startsWith(u"Stop"_s) ? 1 : 0);
    if (stops.isEmpty() && batches.join().contains(ready ? Xon : Xoff)) {
        QCOMPARE(m_rig->lamps.color(LinkLamp::Xon), ready ? LampColors::Green : LampColors::Off);
        QCOMPARE(m_rig->lamps.color(LinkLamp::Xoff), ready ? LampColors::Off : LampColors::Yellow);
    }
    // Xon leaves the CTS lamps alone.
    QCOMPARE(m_rig->lamps.color(LinkLamp::Cts), LampColors::Initial);
}

void TestCommEvents::keys_data()
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

void TestCommEvents::keys()
{
    QFETCH(QString, keys);
    QFETCH(bool, portOpen);
    QFETCH(bool, ready);
    QFETCH(bool, rts);
    QFETCH(QByteArray, written);
    if (!portOpen)
        m_rig->port.close();
    for (const QChar key : std::as_const(keys))
        QCOMPARE(m_rig->events.keyPressed(key), key == u'c' || key == u'r');
    QCOMPARE(m_rig->events.clearToSend(), ready);
    if (keys.contains(u'c'))
        QCOMPARE(m_rig->lamps.color(LinkLamp::Cts), ready ? LampColors::Red : LampColors::Off);
    QCOMPARE(m_rig->port.rts(), rts);
    if (keys.contains(u'r'))
        QCOMPARE(m_rig->lamps.color(LinkLamp::Rts), rts ? LampColors::Red : LampColors::Off);
    QCOMPARE(m_rig->port.written(), written);
    QCOMPARE(m_rig->log.text(), QString());
}

void TestCommEvents::send_data()
{
    QTest::addColumn<int>("hole"); // 0 for a tool command
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("port"); // "open", "closed" or why writes fail
    QTest::addColumn<QString>("logged");
    const QString refused = u"writing to /dev/ttyUSB0 failed (Input/output error)"_s;
    QTest::newRow("tool") << 0 << u"#,0020,0000,0000"_s << u"open"_s
                          << u"     Sent: #,0020,0000,0000^"_s;
    QTest::newRow("hole") << 12 << u"$1234,0567,0012"_s << u"open"_s
                          << u"     Sent: $1234,0567,0012^    nr: 12 (armpos=57)"_s;
    QTest::newRow("tool, port closed") << 0 << u"#,0001,0050,0000"_s << u"closed"_s
                                       << u"Not sent, the port is closed: #,0001,0050,0000"_s;
    QTest::newRow("hole, port closed") << 12 << u"$1234,0567,0012"_s << u"closed"_s
                                       << u"Not sent, the port is closed: $1234,0567,0012"_s;
    QTest::newRow("hole, write refused") << 12 << u"$1234,0567,0012"_s << refused
                                         << u"Not sent, "_s + refused + u": $1234,0567,0012"_s;
}

void TestCommEvents::send()
{
    QFETCH(int, hole);
    QFETCH(QString, line);
    QFETCH(QString, port);
    QFETCH(QString, logged);
    const bool portOpen = port == u"open"_s;
    if (port == u"closed"_s)
        m_rig->port.close();
    else if (!portOpen)
        m_rig->port.failWrites(port);
    // Neither send waits: clearToSend is clear here.
    LinkSender &sender = m_rig->sender;
    QCOMPARE(hole ? sender.sendHoleCommand(line, hole, 57) : sender.sendToolCommand(line),
             portOpen);
    QCOMPARE(m_rig->port.writes(),
             portOpen ? QList<QByteArray>{line.toLatin1() + '\r'} : QList<QByteArray>());
    QCOMPARE(m_rig->log.text(), logged + u"\r\n"_s);
}

QTEST_GUILESS_MAIN(TestCommEvents)
#include "tst_commevents.moc"
