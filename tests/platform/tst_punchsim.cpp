// The serial layer against the punch-controller simulator on a
// pseudo-terminal: bound through a port map, opened through QSerialPort.

#include "link/portmap.h"
#include "platform/qtserialportdevice.h"
#include "tests/support/testhelpers.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Xon("\x11");
const QByteArray Xoff("\x13");
constexpr int Timeout = 10000;

} // namespace

class TestPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_device = m_sim.start(QStringLiteral(VELMORA_PUNCHSIM),
                               {u"--map"_s, m_dir.filePath(u"ports.map"_s), u"--com"_s, u"2"_s,
                                u"--punch-ms"_s, u"50"_s, u"--idle-xon-ms"_s, u"0"_s, u"--quiet"_s,
                                u"--exit-after-idle"_s, u"120"_s});
        QVERIFY(!m_device.isEmpty());
    }
    void cleanup() { m_sim.stop(); }
    void conversation();
    void simulatorGoneClosesThePort();

private:
    QTemporaryDir m_dir;
    PunchSimProcess m_sim;
    QString m_device;
};

void TestPunchSim::conversation()
{
    // COM2 is bound to the simulator through the map it wrote.
    const PortResolution resolution =
        PortMap::load(m_dir.filePath(u"ports.map"_s)).resolve(2, presentSerialPorts());
    QCOMPARE(resolution.device, m_device);
    QVERIFY(resolution.mapped);

    QtSerialPortDevice port;
    QSignalSpy lineErrors(&port, &SerialPort::lineError);
    QSignalSpy failures(&port, &SerialPort::transferFailed);
    QSignalSpy vanished(&port, &SerialPort::vanished);
    QSignalSpy cts(&port, &SerialPort::ctsChanged);
    QSignalSpy dsr(&port, &SerialPort::dsrChanged);
    QSignalSpy cd(&port, &SerialPort::cdChanged);
    QByteArray received;
    connect(&port, &SerialPort::received, this,
            [&received](const QByteArray &bytes) { received += bytes; });
    port.setDtr(true);
    port.setRts(true);
    const OpenResult opened = port.open(resolution.device, u"9600,N,8,1"_s);
    QVERIFY2(opened.ok(), qPrintable(opened.text));
    port.setRts(false);
    QVERIFY(!port.cts() && !port.dsr() && !port.cd());

    // The Xon the simulator sent at its start waited in the device.
    QTRY_COMPARE_WITH_TIMEOUT(received, Xon, Timeout);
    QByteArray expected = Xon + Xoff +
                          "Zelvoor punch controller, firmware 2.4\r\n"
                          "x-steps/mm: 40.00\r\ny-steps/mm: 25.00\r\n"
                          "arm start: 0, arm centre: 1850\r\npunch time: 50 ms\r\n" +
                          Xon;
    QVERIFY(port.write("#,0020,0000,0000\r"));
    QTRY_COMPARE_WITH_TIMEOUT(received, expected, Timeout);
    QVERIFY(port.write("$1234,0567,0012\r"));
    expected += Xoff + Xon;
    QTRY_COMPARE_WITH_TIMEOUT(received, expected, Timeout);

    // Closed and opened again, the simulator still answers.
    port.close();
    QVERIFY(port.open(resolution.device, u"9600,N,8,1"_s).ok());
    QVERIFY(port.write("$1240,0600,0013\r"));
    expected += Xoff + Xon;
    QTRY_COMPARE_WITH_TIMEOUT(received, expected, Timeout);
    QVERIFY(!port.cts());
    QVERIFY(lineErrors.isEmpty() && failures.isEmpty() && vanished.isEmpty());
    QVERIFY(cts.isEmpty() && dsr.isEmpty() && cd.isEmpty());
}

void TestPunchSim::simulatorGoneClosesThePort()
{
    QtSerialPortDevice port;
    QSignalSpy vanished(&port, &SerialPort::vanished);
    QVERIFY(port.open(m_device, u"9600,N,8,1"_s).ok());
    m_sim.process.terminate();
    QVERIFY(m_sim.process.waitForFinished(Timeout));
    QCOMPARE(m_sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim.process.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(vanished.size(), 1, Timeout);
    const QString reason = vanished.at(0).at(0).toString();
    QVERIFY2(reason.startsWith(m_device + u" is gone ("_s), qPrintable(reason));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("$1\r"));
    QVERIFY(!vanished.wait(200)); // once only
}

QTEST_GUILESS_MAIN(TestPunchSim)
#include "tst_punchsim.moc"
