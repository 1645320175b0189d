#include "platform/qtserialportdevice.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::DeviceAccess)

namespace {

// The master side of a pseudo-terminal made for one test.
class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_device = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Pty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    QString device() const { return m_device; }

private:
    int m_master = -1;
    QString m_device;
};

} // namespace

class TestSerialDevice : public QObject
{
    Q_OBJECT
private slots:
    void openFailure_data();
    void openFailure();
    void secondOpenIsInUse();
    void refusedOpens_data();
    void refusedOpens();
};

void TestSerialDevice::openFailure_data()
{
    QTest::addColumn<int>("qtError");
    QTest::addColumn<DeviceAccess>("access");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");

    const int permission = QSerialPort::PermissionError;
    const DeviceAccess ok{true, 0, u"anna"_s, u"dialout"_s, false, false};
    const DeviceAccess denied{true, EACCES, u"anna"_s, u"dialout"_s, false, false};
    const DeviceAccess relogin{true, EACCES, u"anna"_s, u"dialout"_s, true, false};
    const DeviceAccess modes{true, EACCES, u"anna"_s, u"dialout"_s, true, true};
    const DeviceAccess gone{true, ENOENT, u"anna"_s, u"dialout"_s, false, false};
    const QString noPermission = u"No permission to use /dev/ttyUSB0: "_s;

    QTest::newRow("locked")
        << permission << ok << 8005
        << u"/dev/ttyUSB0 is in use: another program or another port has it open"_s;
    QTest::newRow("not in group") << permission << denied << 8010
                                  << noPermission +
                                         u"the user anna is not in the group \"dialout\" "
                                         "that may use it; add the user to that group "
                                         "and log in again"_s;
    QTest::newRow("not logged in again")
        << permission << relogin << 8010
        << noPermission + u"the user anna was added to the group \"dialout\" but has not logged "
                          "in again since"_s;
    QTest::newRow("device modes") << permission << modes << 8010
                                  << noPermission + u"its permissions allow the group \"dialout\" "
                                                    "no reading and writing"_s;
    QTest::newRow("not found") << int(QSerialPort::DeviceNotFoundError) << DeviceAccess() << 8002
                               << u"/dev/ttyUSB0 does not exist"_s;
    QTest::newRow("vanished during the access check")
        << permission << gone << 8002 << u"/dev/ttyUSB0 does not exist"_s;
    QTest::newRow("no terminal")
        << int(QSerialPort::UnsupportedOperationError) << ok << 8012
        << u"/dev/ttyUSB0 is not a serial device (Permission error while locking the device)"_s;
}

void TestSerialDevice::openFailure()
{
    QFETCH(int, qtError);
    QFETCH(DeviceAccess, access);
    QFETCH(int, error);
    QFETCH(QString, text);
    const OpenResult result =
        velmora::openFailure(QSerialPort::SerialPortError(qtError),
                    u"Permission error while locking the device"_s, u"/dev/ttyUSB0"_s, access);
    QCOMPARE(result.error, error);
    QCOMPARE(result.text, text);
}

void TestSerialDevice::secondOpenIsInUse()
{
    Pty pty;
    QVERIFY(!pty.device().isEmpty());
    QtSerialPortDevice first;
    QtSerialPortDevice second;
    QVERIFY(first.open(pty.device(), u"9600,N,8,1"_s).ok());

    const OpenResult again = second.open(pty.device(), u"9600,N,8,1"_s);
    QCOMPARE(again.error, PortError::InUse);
    QVERIFY2(again.text.contains(pty.device()), qPrintable(again.text));
    QCOMPARE(first.open(pty.device(), u"9600,N,8,1"_s).error, PortError::InUse);
    QVERIFY(first.isOpen());

    first.close();
    QVERIFY(!first.isOpen());
    const OpenResult later = second.open(pty.device(), u"4800,E,7,2"_s);
    QVERIFY2(later.ok(), qPrintable(later.text));
}

void TestSerialDevice::refusedOpens_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << u"missing"_s << u"9600,N,8,1"_s << PortError::NotFound;
    QTest::newRow("plain file") << u"file"_s << u"9600,N,8,1"_s << PortError::NotSerial;
    QTest::newRow("settings text") << u"pty"_s << u"9600,X,8,1"_s << PortError::BadSettings;
}

void TestSerialDevice::refusedOpens()
{
    QFETCH(QString, device);
    QFETCH(QString, settings);
    QFETCH(int, error);
    Pty pty;
    QTemporaryDir dir;
    if (device == u"pty") {
        device = pty.device();
    } else {
        device = dir.filePath(device);
        QFile file(device);
        QVERIFY(device.endsWith(u"missing"_s) || file.open(QIODevice::WriteOnly));
    }
    QtSerialPortDevice port;
    const OpenResult result = port.open(device, settings);
    QCOMPARE(result.error, error);
    QVERIFY2(result.text.contains(error == PortError::BadSettings ? settings : device),
             qPrintable(result.text));
    QVERIFY(!port.isOpen());
}

QTEST_GUILESS_MAIN(TestSerialDevice)
#include "tst_serialdevice.moc"
