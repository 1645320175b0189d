// End to end: the link against the punch-controller simulator on a
// pseudo-terminal, bound as COM1 in a port map and opened through
// QSerialPort.

#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "platform/qtserialportdevice.h"
#include "punchsim/punchcontroller.h"
#include "tests/support/testhelpers.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int Timeout = 10000;

QString sent(const QString &message)
{
    return u"     Sent: "_s + message + u"\r\n"_s;
}

QString recvd(const QString &line)
{
    return QString(14, u' ') + u"Recvd: "_s + line + u"\r\n"_s;
}

} // namespace

class TestLinkPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void conversation();
};

void TestLinkPunchSim::conversation()
{
    // A long punch time keeps each Xoff and its Xon in batches of their own.
    QTemporaryDir dir;
    PunchSimProcess sim;
    const QString device =
        sim.start(QStringLiteral(VELMORA_PUNCHSIM),
                  {u"--map"_s, dir.filePath(u"ports.map"_s), u"--com"_s, u"1"_s, u"--punch-ms"_s,
                   u"300"_s, u"--idle-xon-ms"_s, u"0"_s, u"--record"_s,
                   dir.filePath(u"record.txt"_s), u"--quiet"_s, u"--exit-after-idle"_s, u"120"_s});
    QVERIFY(!device.isEmpty());

    QtSerialPortDevice port;
    Logbook log;
    LinkLamps lamps;
    bool formLoading = false;
    CommEvents events(port, log, lamps, [] { return 1; });
    PortController controller(port, log, lamps, events, formLoading,
                              {dir.path() + u'/', &presentSerialPorts});
    LinkSender sender(port, log, events);

    int xons = 0;
    connect(&port, &SerialPort::received, this,
            [&xons](const QByteArray &bytes) { xons += int(bytes.count('\x11')); });
    QSignalSpy lampChanges(&lamps, &LinkLamps::lampChanged);
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
    // No CTS on a pseudo-terminal: the Xon the simulator sent at its start
    // makes the controller ready.
    QCOMPARE(lamps.color(LinkLamp::Cts), LampColors::Off);
    QTRY_VERIFY_WITH_TIMEOUT(events.clearToSend(), Timeout);
    QCOMPARE(lamps.color(LinkLamp::Xon), LampColors::Green);

    // The settings command, then two holes: each answered by Xoff (the
    // settings command with its informational lines too), then Xon.
    const std::function<bool()> sends[] = {
        [&] { return sender.sendToolCommand(u"#,0020,0000,0000"_s); },
        [&] { return sender.sendHoleCommand(u"$1234,0567,0012"_s, 1, 57); },
        [&] { return sender.sendHoleCommand(u"$1240,0600,0013"_s, 2, 60); }};
    for (int i = 0; i < 3; ++i) {
        lampChanges.clear();
        QVERIFY(sends[i]());
        QTRY_VERIFY_WITH_TIMEOUT(xons == 2 + i, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(events.clearToSend(), Timeout);
        QVERIFY(xoffShown());
        QCOMPARE(lamps.color(LinkLamp::Xon), LampColors::Green);
        QCOMPARE(lamps.color(LinkLamp::Xoff), LampColors::Off);
    }

    controller.closePort();
    QVERIFY(!port.isOpen());
    QCOMPARE(log.text(),
             u"COM 1: Open at 9600,N,8,1\r\n"_s + sent(u"#,0020,0000,0000^"_s) +
                 recvd(u"Zelvoor punch controller, firmware 2.4"_s) +
                 recvd(u"x-steps/mm: 40.00"_s) + recvd(u"y-steps/mm: 25.00"_s) +
                 recvd(u"arm start: 0, arm centre: 1850"_s) + recvd(u"punch time: 300 ms"_s) +
                 sent(u"$1234,0567,0012^    nr: 1 (armpos=57)"_s) +
                 sent(u"$1240,0600,0013^    nr: 2 (armpos=60)"_s) + u"COM 1: Closed\r\n"_s);

    // The simulator's record holds each line exactly as written, without
    // its CR: no LF or anything else went out with them.
    const QString recordPath = dir.filePath(u"record.txt"_s);
    QTRY_COMPARE_WITH_TIMEOUT(parseRecord(readFile(recordPath)).size(), 3, Timeout);
    QByteArray record;
    for (const RecordedLine &line : parseRecord(readFile(recordPath)))
        record += line.line + '\n';
    QCOMPARE(record, QByteArray("#,0020,0000,0000\n$1234,0567,0012\n$1240,0600,0013\n"));
}

QTEST_GUILESS_MAIN(TestLinkPunchSim)
#include "tst_linkpunchsim.moc"
