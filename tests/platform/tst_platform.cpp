#include "platform/clock.h"
#include "platform/linesettings.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QScopeGuard>
#include <QTemporaryFile>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::DeviceAccess)

// The platform layer: the clocks, the serial line settings, and the serial
// device on a pseudo-terminal.
class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    // The virtual clock: due time, then the order of scheduling; callbacks
    // that schedule or cancel; ids that name nothing; a runaway chain.
    void virtualClock()
    {
        VirtualClock clock(1000);
        QStringList ran;
        const auto note = [&ran](const char *name) {
            return [&ran, name] { ran << QLatin1String(name); };
        };
        // A zero delay from a callback runs after what is already due then.
        clock.schedule(50, [&] { clock.schedule(0, note("zero")); });
        clock.schedule(100, note("b"));
        clock.schedule(50, note("a"));
        clock.schedule(100, note("c"));
        // Scheduled inside the advance but due after it: waits for the next.
        clock.schedule(150, [&] { clock.schedule(100, note("next")); });
        TimerId later = 0;
        clock.schedule(60, [&] { clock.cancel(later); });
        later = clock.schedule(100, note("cancelled"));
        const TimerId first = clock.schedule(10, note("first"));
        for (const TimerId id : {first, first, TimerId(0), TimerId(9999)})
            clock.cancel(id);
        clock.advance(200);
        QCOMPARE(ran.join(u' '), u"a zero b c"_s);
        QCOMPARE(clock.nowMs(), 1200);
        clock.advance(100);
        QCOMPARE(ran.last(), u"next"_s);

        std::function<void()> again = [&] { clock.schedule(0, again); };
        clock.schedule(0, again);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"more than .* callbacks"_s));
        clock.advance(10);
        QCOMPARE(clock.pendingCount(), 1);
    }

    // Timers on the virtual clock, then the system clock.
    void timers()
    {
        VirtualClock clock;
        QList<qint64> ran;
        ClockTimer estimate(clock);
        estimate.startRepeating(2000, [&] {
            ran << clock.nowMs();
            if (clock.nowMs() == 6000)
                estimate.stop();
        });
        // Destroyed by its own callback, or before it is due: runs no more.
        auto timer = std::make_unique<ClockTimer>(clock);
        timer->startRepeating(10, [&] {
            ran << -clock.nowMs();
            timer.reset();
        });
        auto unrun = std::make_unique<ClockTimer>(clock);
        unrun->start(10, [&] { ran << 0; });
        unrun.reset();
        clock.advance(10000);
        QCOMPARE(ran, (QList<qint64>{-10, 2000, 4000, 6000}));
        QVERIFY(!estimate.isActive());
        QCOMPARE(clock.pendingCount(), 0);

        SystemClock system;
        QList<int> order;
        system.schedule(30, [&] { order << 2; });
        const TimerId cancelled = system.schedule(10, [&] { order << 9; });
        system.schedule(10, [&] { order << 1; });
        system.cancel(cancelled);
        QTRY_COMPARE_WITH_TIMEOUT(order, (QList<int>{1, 2}), 5000);
    }

    // The parity read and the settings written again; empty when the text is
    // refused.
    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        const auto row = [](const char *text, const char *read) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromLatin1(read);
        };
        row("9600,N,8,1", "None 9600,N,8,1");
        row("115200,S,5,2", "Space 115200,S,5,2");
        row("19200,e,8,1", "Even 19200,E,8,1");
        row("09600,M,08,1", "Mark 9600,M,8,1");
        row("4000000,O,8,1", "Odd 4000000,O,8,1");
        // Refused: a field missing or too many, blanks, a baud rate, parity, data
        // or stop bits out of range or unreadable, other digits.
        const QString refused =
            u"|9600,N,8|9600,N,8,1,0|9600,N,8,1 |,N,8,1|0,N,8,1|9600.5,N,8,1|"
            "4000001,N,8,1|99999999999999999999,N,8,1|9600,None,8,1|"
            "9600,X,8,1|9600,N,4,1|9600,N,9,1|9600,N,8,0|9600,N,8,3|\u0669\u0666\u0660\u0660,N,8,1"_s;
        for (const QString &text : refused.split(u'|'))
            QTest::newRow(qPrintable(text)) << text << QString();
    }

    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const auto settings = LineSettings::parse(text);
        const char *parities[] = {"None", "Even", "Odd", "Mark", "Space"};
        QCOMPARE(settings ? QLatin1String(parities[int(settings->parity)]) + u' ' + settings->text()
                          : QString(),
                 read);
    }

    void openFailure_data()
    {
        QTest::addColumn<int>("qtError");
        QTest::addColumn<DeviceAccess>("access");
        QTest::addColumn<QString>("text"); // with the error number
        const int permission = QSerialPort::PermissionError;
        // access() fails with error; the user is listed in the group; the process runs in it.
        const auto access = [](int error, bool listed = false, bool inGroup = false) {
            return DeviceAccess{true, error, u"anna"_s, u"dialout"_s, listed, inGroup};
        };
        const QString noPermission = u"8010 No permission to use /dev/ttyUSB0: "_s;

        QTest::newRow("locked")
            << permission << access(0)
            << u"8005 /dev/ttyUSB0 is in use: another program or another port has it open"_s;
        QTest::newRow("not in group")
            << permission << access(EACCES)
            << noPermission + u"the user anna is not in the group \"dialout\" that may use it; "
                              "add the user to that group and log in again"_s;
        QTest::newRow("not logged in again")
            << permission << access(EACCES, true)
            << noPermission + u"the user anna was added to the group \"dialout\" but has not "
                              "logged in again since"_s;
        QTest::newRow("device modes")
            << permission << access(EACCES, true, true)
            << noPermission +
                   u"its permissions allow the group \"dialout\" no reading and writing"_s;
        QTest::newRow("not found") << int(QSerialPort::DeviceNotFoundError) << DeviceAccess()
                                   << u"8002 /dev/ttyUSB0 does not exist"_s;
        QTest::newRow("vanished during the access check")
            << permission << access(ENOENT) << u"8002 /dev/ttyUSB0 does not exist"_s;
        QTest::newRow("no terminal")
            << int(QSerialPort::UnsupportedOperationError) << access(0)
            << u"8012 /dev/ttyUSB0 is not a serial device (Permission error while locking the device)"_s;
    }

    void openFailure()
    {
        QFETCH(int, qtError);
        QFETCH(DeviceAccess, access);
        QFETCH(QString, text);
        const OpenResult result = velmora::openFailure(
            QSerialPort::SerialPortError(qtError), u"Permission error while locking the device"_s,
            u"/dev/ttyUSB0"_s, access);
        QCOMPARE(u"%1 %2"_s.arg(result.error).arg(result.text), text);
    }

    // Opens refused: a missing device, a plain file, settings not understood;
    // then a pseudo-terminal opened twice.
    void opens()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        const auto closeMaster = qScopeGuard([master] { ::close(master); });
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString device = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryFile file;
        QVERIFY(file.open());
        QtSerialPortDevice first;
        const QString missing = file.fileName() + u".missing"_s;
        QCOMPARE(first.open(missing, u"9600,N,8,1"_s).error, PortError::NotFound);
        QCOMPARE(first.open(file.fileName(), u"9600,N,8,1"_s).error, PortError::NotSerial);
        const OpenResult bad = first.open(device, u"9600,X,8,1"_s);
        QCOMPARE(bad.error, PortError::BadSettings);
        QVERIFY2(bad.text.contains(u"9600,X,8,1"_s), qPrintable(bad.text));
        QVERIFY(!first.isOpen());

        // Open, a second open of the device, by another port or the same one,
        // finds it in use; once closed, it opens again.
        QtSerialPortDevice second;
        QVERIFY(first.open(device, u"9600,N,8,1"_s).ok());
        QCOMPARE(second.open(device, u"9600,N,8,1"_s).error, PortError::InUse);
        QCOMPARE(first.open(device, u"9600,N,8,1"_s).error, PortError::InUse);
        QVERIFY(first.isOpen());
        first.close();
        const OpenResult later = second.open(device, u"4800,E,7,2"_s);
        QVERIFY2(later.ok(), qPrintable(later.text));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
