#include "link/portmap.h"
#include "punchsim/portmapwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Devices by blanks; those marked with a "*" are adapters by the system's word.
QList<PresentPort> ports(const QString &devices)
{
    QList<PresentPort> list;
    for (const QString &device : devices.split(u' ', Qt::SkipEmptyParts))
        list.append({QString(device).remove(u'*'), device.endsWith(u'*')});
    return list;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestPortMap : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void orderPresent_data();
    void orderPresent();
    void resolve_data();
    void resolve();
    void withLine_data();
    void withLine();
    void writeLine();
};

void TestPortMap::parse_data()
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
    QTest::newRow("lower case, bare device name") << u"com5 ttyACM0\n"_s << u"||||/dev/ttyACM0|"_s;
}

void TestPortMap::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, devices);
    const PortMap map = PortMap::parse(text);
    QStringList mapped;
    for (int port = 0; port <= PortMap::PortCount + 1; ++port)
        mapped << map.mappedDevice(port);
    QCOMPARE(mapped.join(u'|'), u'|' + devices + u'|');
}

void TestPortMap::orderPresent_data()
{
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("ordered");
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("adapters before on-board")
        << u"/dev/ttyS1 /dev/ttyUSB1 /dev/ttyS0 /dev/ttyACM0 /dev/ttyUSB0"_s
        << u"/dev/ttyACM0 /dev/ttyUSB0 /dev/ttyUSB1 /dev/ttyS0 /dev/ttyS1"_s;
    QTest::newRow("numbers in numeric order")
        << u"/dev/ttyUSB10 /dev/ttyUSB2 /dev/ttyS10 /dev/ttyS9"_s
        << u"/dev/ttyUSB2 /dev/ttyUSB10 /dev/ttyS9 /dev/ttyS10"_s;
    QTest::newRow("USB by the system's word")
        << u"/dev/ttyS0 /dev/ttyXR0* /dev/ttyAMA0"_s << u"/dev/ttyXR0 /dev/ttyAMA0 /dev/ttyS0"_s;
}

void TestPortMap::orderPresent()
{
    QFETCH(QString, present);
    QFETCH(QString, ordered);
    QCOMPARE(PortMap::orderPresent(ports(present)).join(u' '), ordered);
}

void TestPortMap::resolve_data()
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
    QTest::newRow("mapped wins") << u"COM1 /dev/pts/4\n"_s << two << 1 << u"/dev/pts/4"_s << true
                                 << QString();
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

void TestPortMap::resolve()
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

void TestPortMap::withLine_data()
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
    QTest::newRow("later duplicates dropped")
        << u"com1 /dev/a\nCOM2 /dev/b\nCOM1 /dev/c\n"_s << 1 << u"COM1 /dev/pts/3\nCOM2 /dev/b\n"_s;
    QTest::newRow("commented line stays")
        << u"#COM1 /dev/old\n"_s << 1 << u"#COM1 /dev/old\nCOM1 /dev/pts/3\n"_s;
    QTest::newRow("CR LF kept") << u"# x\r\nCOM6 /dev/a\r\n"_s << 6
                                << u"# x\r\nCOM6 /dev/pts/3\r\n"_s;
    QTest::newRow("CR LF for an added line")
        << u"# x\r\n"_s << 2 << u"# x\r\nCOM2 /dev/pts/3\r\n"_s;
}

void TestPortMap::withLine()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    QFETCH(QString, expected);
    const QString result = mapTextWithLine(text, port, u"/dev/pts/3"_s);
    QCOMPARE(result, expected);
    QCOMPARE(PortMap::parse(result).mappedDevice(port), u"/dev/pts/3"_s);
}

void TestPortMap::writeLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"settings/ports.map"_s);
    QString error;
    QVERIFY2(writeMapLine(path, 2, u"/dev/pts/7"_s, &error), qPrintable(error));
    QCOMPARE(readAll(path), QByteArray("COM2 /dev/pts/7\n"));
    QVERIFY(writeMapLine(path, 1, u"/dev/ttyUSB0"_s));
    QVERIFY(writeMapLine(path, 2, u"/dev/pts/8"_s));
    QCOMPARE(readAll(path), QByteArray("COM2 /dev/pts/8\nCOM1 /dev/ttyUSB0\n"));
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
        QCOMPARE(readAll(path), QByteArray("COM2 /dev/pts/8\nCOM1 /dev/ttyUSB0\n"));
    }
}

QTEST_APPLESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
