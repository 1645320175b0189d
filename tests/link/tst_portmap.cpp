#include "link/portmap.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QList<PresentPort> ports(const QStringList &devices, const QStringList &adapters = {})
{
    QList<PresentPort> list;
    for (const QString &device : devices)
        list.append({device, adapters.contains(device)});
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
    void writeLineRefuses_data();
    void writeLineRefuses();
};

void TestPortMap::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("devices"); // COM1 to COM6
    const QString none;
    QTest::newRow("two lines")
        << u"COM1 /dev/serial/by-id/usb-FTDI_FT232R-if00-port0\nCOM2 /dev/ttyS0\n"_s
        << QStringList{u"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"_s,
                       u"/dev/ttyS0"_s,
                       none,
                       none,
                       none,
                       none};
    QTest::newRow("comments, blanks, tabs, CR LF")
        << u"# the punch\r\n\r\n  \t\r\n\tCOM3\t /dev/ttyUSB1  # adapter\r\nCOM6 /dev/ttyS3"_s
        << QStringList{none, none, u"/dev/ttyUSB1"_s, none, none, u"/dev/ttyS3"_s};
    QTest::newRow("lone CR ends a line")
        << u"COM1 /dev/a\rCOM2 /dev/b\r"_s
        << QStringList{u"/dev/a"_s, u"/dev/b"_s, none, none, none, none};
    QTest::newRow("bad lines ignored")
        << u"COM1\nCOM7 /dev/x\nCOM0 /dev/x\nCOM /dev/x\nLPT1 /dev/x\nCOM2 /dev/a /dev/b\n"
           "COM12 /dev/x\nCOM 3 /dev/x\nCOM4 /dev/ok\n"_s
        << QStringList{none, none, none, u"/dev/ok"_s, none, none};
    QTest::newRow("last line counts")
        << u"COM1 /dev/first\nCOM1 /dev/second\n"_s
        << QStringList{u"/dev/second"_s, none, none, none, none, none};
    QTest::newRow("lower case, bare device name")
        << u"com5 ttyACM0\n"_s << QStringList{none, none, none, none, u"/dev/ttyACM0"_s, none};
}

void TestPortMap::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, devices);
    const PortMap map = PortMap::parse(text);
    for (int port = 1; port <= PortMap::PortCount; ++port)
        QCOMPARE(map.mappedDevice(port), devices[port - 1]);
    QVERIFY(map.mappedDevice(0).isEmpty());
    QVERIFY(map.mappedDevice(7).isEmpty());
}

void TestPortMap::orderPresent_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("adapters"); // marked as USB by the system
    QTest::addColumn<QStringList>("ordered");
    QTest::newRow("none") << QStringList() << QStringList() << QStringList();
    QTest::newRow("adapters before on-board")
        << QStringList{u"/dev/ttyS1"_s, u"/dev/ttyUSB1"_s, u"/dev/ttyS0"_s, u"/dev/ttyACM0"_s,
                       u"/dev/ttyUSB0"_s}
        << QStringList()
        << QStringList{u"/dev/ttyACM0"_s, u"/dev/ttyUSB0"_s, u"/dev/ttyUSB1"_s, u"/dev/ttyS0"_s,
                       u"/dev/ttyS1"_s};
    QTest::newRow("numbers in numeric order")
        << QStringList{u"/dev/ttyUSB10"_s, u"/dev/ttyUSB2"_s, u"/dev/ttyS10"_s, u"/dev/ttyS9"_s}
        << QStringList()
        << QStringList{u"/dev/ttyUSB2"_s, u"/dev/ttyUSB10"_s, u"/dev/ttyS9"_s, u"/dev/ttyS10"_s};
    QTest::newRow("USB by the system's word")
        << QStringList{u"/dev/ttyS0"_s, u"/dev/ttyXR0"_s, u"/dev/ttyAMA0"_s}
        << QStringList{u"/dev/ttyXR0"_s}
        << QStringList{u"/dev/ttyXR0"_s, u"/dev/ttyAMA0"_s, u"/dev/ttyS0"_s};
}

void TestPortMap::orderPresent()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, adapters);
    QFETCH(QStringList, ordered);
    QCOMPARE(PortMap::orderPresent(ports(present, adapters)), ordered);
}

void TestPortMap::resolve_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("mapped");
    QTest::addColumn<QString>("problem");
    const QStringList two{u"/dev/ttyS0"_s, u"/dev/ttyUSB0"_s};
    QTest::newRow("one adapter is COM1")
        << QString() << two << 1 << u"/dev/ttyUSB0"_s << false << QString();
    QTest::newRow("mapped wins") << u"COM1 /dev/pts/4\n"_s << two << 1 << u"/dev/pts/4"_s << true
                                 << QString();
    QTest::newRow("mapped device need not be present")
        << u"COM4 /dev/ttyUSB9\n"_s << QStringList() << 4 << u"/dev/ttyUSB9"_s << true << QString();
    QTest::newRow("n-th present, counting mapped ones")
        << u"COM1 /dev/ttyUSB0\n"_s << two << 2 << u"/dev/ttyS0"_s << false << QString();
    QTest::newRow("none present")
        << QString() << QStringList() << 1 << QString() << false
        << u"No device for COM1: no serial port is present and ports.map has no line for COM1"_s;
    QTest::newRow("one present")
        << QString() << QStringList{u"/dev/ttyS0"_s} << 3 << QString() << false
        << u"No device for COM3: only 1 serial port is present and ports.map has no line for "
           "COM3"_s;
    QTest::newRow("two present") << QString() << two << 6 << QString() << false
                                 << u"No device for COM6: only 2 serial ports are present and "
                                    "ports.map has no line for COM6"_s;
}

void TestPortMap::resolve()
{
    QFETCH(QString, map);
    QFETCH(QStringList, present);
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
    const QString result = PortMap::withLine(text, port, u"/dev/pts/3"_s);
    QCOMPARE(result, expected);
    QCOMPARE(PortMap::parse(result).mappedDevice(port), u"/dev/pts/3"_s);
}

void TestPortMap::writeLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"settings/ports.map"_s);
    QString error;
    QVERIFY2(PortMap::writeLine(path, 2, u"/dev/pts/7"_s, &error), qPrintable(error));
    QCOMPARE(readAll(path), QByteArray("COM2 /dev/pts/7\n"));
    QVERIFY(PortMap::writeLine(path, 1, u"/dev/ttyUSB0"_s));
    QVERIFY(PortMap::writeLine(path, 2, u"/dev/pts/8"_s));
    QCOMPARE(readAll(path), QByteArray("COM2 /dev/pts/8\nCOM1 /dev/ttyUSB0\n"));
    const PortMap map = PortMap::load(path);
    QCOMPARE(map.mappedDevice(1), u"/dev/ttyUSB0"_s);
    QCOMPARE(map.mappedDevice(2), u"/dev/pts/8"_s);
    QVERIFY(PortMap::load(dir.filePath(u"missing.map"_s)).mappedDevice(1).isEmpty());
}

void TestPortMap::writeLineRefuses_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");
    QTest::newRow("port 7") << 7 << u"/dev/ttyS0"_s;
    QTest::newRow("comment sign") << 1 << u"/dev/a#b"_s;
    QTest::newRow("line end") << 1 << u"/dev/a\nCOM2 /dev/b"_s;
}

void TestPortMap::writeLineRefuses()
{
    QFETCH(int, port);
    QFETCH(QString, device);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ports.map"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("COM1 /dev/ttyS0\n");
    file.close();
    QString error;
    QVERIFY(!PortMap::writeLine(path, port, device, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(path), QByteArray("COM1 /dev/ttyS0\n"));
}

QTEST_APPLESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
