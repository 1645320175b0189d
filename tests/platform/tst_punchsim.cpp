// The serial layer against the punch-controller simulator on a
// pseudo-terminal: bound through a port map, opened through QSerialPort.

#include "link/portmap.h"
#include "platform/qtserialportdevice.h"
#include "punchsim/punchcontroller.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Xon("\x11");
const QByteArray Xoff("\x13");
constexpr int Timeout = 10000;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void conversation();
    void simulatorGoneClosesThePort();

private:
    bool startSimulator(const QStringList &extra = {});

    QTemporaryDir m_dir;
    QProcess m_simulator;
    QString m_device;
    QByteArray m_received;
};

void TestPunchSim::init()
{
    QVERIFY(m_dir.isValid());
    m_received.clear();
    QVERIFY(startSimulator());
}

void TestPunchSim::cleanup()
{
    if (m_simulator.state() != QProcess::NotRunning) {
        m_simulator.terminate();
        QSignalSpy finished(&m_simulator, &QProcess::finished);
        if (!finished.wait(Timeout))
            m_simulator.kill();
    }
    m_simulator.waitForFinished(Timeout);
}

bool TestPunchSim::startSimulator(const QStringList &extra)
{
    QFile::remove(m_dir.filePath(u"record.txt"_s));
    m_simulator.setProgram(QStringLiteral(VELMORA_PUNCHSIM));
    m_simulator.setArguments(QStringList{u"--map"_s, m_dir.filePath(u"ports.map"_s), u"--com"_s,
                                         u"2"_s, u"--punch-ms"_s, u"50"_s, u"--idle-xon-ms"_s,
                                         u"0"_s, u"--record"_s, m_dir.filePath(u"record.txt"_s),
                                         u"--quiet"_s, u"--exit-after-idle"_s, u"120"_s} +
                             extra);
    m_simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_simulator.start();
    QSignalSpy ready(&m_simulator, &QProcess::readyReadStandardOutput);
    while (!m_simulator.canReadLine()) {
        if (!ready.wait(Timeout))
            return false;
    }
    m_device = QString::fromLocal8Bit(m_simulator.readLine().trimmed());
    return !m_device.isEmpty();
}

void TestPunchSim::conversation()
{
    // COM2 is bound to the simulator through the map it wrote.
    const PortMap map = PortMap::load(m_dir.filePath(u"ports.map"_s));
    const PortResolution resolution = map.resolve(2, PresentSerialPorts());
    QCOMPARE(resolution.device, m_device);
    QVERIFY(resolution.mapped);

    QtSerialPortDevice port;
    QSignalSpy lineErrors(&port, &SerialPort::lineError);
    QSignalSpy failures(&port, &SerialPort::transferFailed);
    QSignalSpy vanished(&port, &SerialPort::vanished);
    QSignalSpy cts(&port, &SerialPort::ctsChanged);
    QSignalSpy dsr(&port, &SerialPort::dsrChanged);
    QSignalSpy cd(&port, &SerialPort::cdChanged);
    connect(&port, &SerialPort::received, this,
            [this](const QByteArray &bytes) { m_received += bytes; });
    port.setDtr(true);
    port.setRts(true);
    const OpenResult opened = port.open(resolution.device, u"9600,N,8,1"_s);
    QVERIFY2(opened.ok(), qPrintable(opened.text));
    port.setRts(false);
    QVERIFY(!port.cts());
    QVERIFY(!port.dsr());
    QVERIFY(!port.cd());

    // The Xon the simulator sent at its start waited in the device.
    QTRY_COMPARE_WITH_TIMEOUT(m_received, Xon, Timeout);

    const QByteArray settings = "Zelvoor punch controller, firmware 2.4\r\n"
                                "x-steps/mm: 40.00\r\ny-steps/mm: 25.00\r\n"
                                "arm start: 0, arm centre: 1850\r\npunch time: 50 ms\r\n";
    QByteArray expected = Xon;
    QVERIFY(port.write("#,0020,0000,0000\r"));
    expected += Xoff + settings + Xon;
    QTRY_COMPARE_WITH_TIMEOUT(m_received, expected, Timeout);
    QVERIFY(port.write("$1234,0567,0012\r"));
    expected += Xoff + Xon;
    QTRY_COMPARE_WITH_TIMEOUT(m_received, expected, Timeout);

    // Closed and opened again, the simulator still answers.
    port.close();
    QVERIFY(port.open(resolution.device, u"9600,N,8,1"_s).ok());
    QVERIFY(port.write("$1240,0600,0013\r"));
    expected += Xoff + Xon;
    QTRY_COMPARE_WITH_TIMEOUT(m_received, expected, Timeout);

    QVERIFY(!port.cts());
    QVERIFY(lineErrors.isEmpty());
    QVERIFY(failures.isEmpty());
    QVERIFY(vanished.isEmpty());
    QVERIFY(cts.isEmpty() && dsr.isEmpty() && cd.isEmpty());

    // The simulator's record holds the lines exactly as sent, without the CR.
    const QString recordPath = m_dir.filePath(u"record.txt"_s);
    QTRY_COMPARE_WITH_TIMEOUT(ParseRecord(readFile(recordPath)).size(), 3, Timeout);
    const QList<RecordedLine> lines = ParseRecord(readFile(recordPath));
    QCOMPARE(lines[0].line, QByteArray("#,0020,0000,0000"));
    QCOMPARE(lines[1].line, QByteArray("$1234,0567,0012"));
    QCOMPARE(lines[2].line, QByteArray("$1240,0600,0013"));
    QVERIFY(lines[0].ms <= lines[1].ms && lines[1].ms <= lines[2].ms);
}

void TestPunchSim::simulatorGoneClosesThePort()
{
    QtSerialPortDevice port;
    QSignalSpy vanished(&port, &SerialPort::vanished);
    QVERIFY(port.open(m_device, u"9600,N,8,1"_s).ok());
    QSignalSpy finished(&m_simulator, &QProcess::finished);
    m_simulator.terminate();
    QVERIFY(finished.wait(Timeout));
    QCOMPARE(m_simulator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_simulator.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(vanished.size(), 1, Timeout);
    const QString reason = vanished.at(0).at(0).toString();
    QVERIFY2(reason.startsWith(m_device + u" is gone ("_s), qPrintable(reason));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("$1\r"));
    QVERIFY(!vanished.wait(200)); // once only
}

QTEST_GUILESS_MAIN(TestPunchSim)
#include "tst_punchsim.moc"
