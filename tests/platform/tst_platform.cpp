#include "platform/clock.h"
#include "platform/linesettings.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace velmora;
using namespace Qt::StringLiterals;

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

Q_DECLARE_METATYPE(velmora::DeviceAccess)

// The platform layer: the clocks, the serial line settings, and the serial
// device on a pseudo-terminal.
class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void clockOrder()
    {
        // Due time first, then the order of scheduling.
        VirtualClock clock(1000);
        QStringList order;
        clock.schedule(100, [&] { order << u"b@100"_s; });
        clock.schedule(50, [&] { order << u"a@50"_s; });
        clock.schedule(100, [&] { order << u"c@100"_s; });
        clock.schedule(-5, [&] { order << u"now"_s; });
        clock.advance(99);
        QCOMPARE(order.join(u' '), u"now a@50"_s);
        QCOMPARE(clock.nowMs(), 1099);
        clock.advance(1);
        QCOMPARE(order.join(u' '), u"now a@50 b@100 c@100"_s);

        // The job's chain: 100 ms before a write, polls every 100 ms, 100 ms after.
        VirtualClock chain;
        QList<qint64> times;
        std::function<void(int)> step = [&](int left) {
            times << chain.nowMs();
            if (left > 0)
                chain.schedule(100, [&, left] { step(left - 1); });
        };
        chain.schedule(100, [&] { step(3); });
        // Same time as the second step, scheduled earlier: runs before it.
        chain.schedule(200, [&] { times << -chain.nowMs(); });
        // A zero delay from a callback runs after what is already due then.
        chain.schedule(400, [&] { chain.schedule(0, [&] { times << 4000 + chain.nowMs(); }); });
        // Scheduled inside the span but due after it: waits for the next advance.
        chain.schedule(950, [&] { chain.schedule(100, [&] { times << chain.nowMs(); }); });
        chain.advance(1000);
        QCOMPARE(times, (QList<qint64>{100, -200, 200, 300, 400, 4400}));
        QCOMPARE(chain.nowMs(), 1000);
        QCOMPARE(chain.nextDueMs(), std::optional<qint64>(1050));
    }

    void clockCancel()
    {
        VirtualClock clock;
        QList<int> ran;
        const TimerId first = clock.schedule(10, [&] { ran << 1; });
        TimerId second = 0;
        clock.schedule(5, [&] { clock.cancel(second); }); // a callback cancels a later one
        second = clock.schedule(10, [&] { ran << 2; });
        clock.schedule(10, [&] { ran << 3; });
        clock.cancel(first);
        clock.cancel(first); // twice: ignored
        clock.cancel(0);
        clock.cancel(9999);
        QCOMPARE(clock.pendingCount(), 3);
        clock.advance(20);
        QCOMPARE(ran, QList<int>{3});
        clock.cancel(second); // already gone
        QCOMPARE(clock.pendingCount(), 0);

        // An endless chain of zero delays is stopped.
        std::function<void()> again = [&] { clock.schedule(0, again); };
        clock.schedule(0, again);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"more than .* callbacks"_s));
        clock.advance(10);
        QCOMPARE(clock.pendingCount(), 1);
    }

    void clockTimers()
    {
        VirtualClock clock;
        ClockTimer estimate(clock);
        QList<qint64> ticks;
        estimate.startRepeating(2000, [&] {
            ticks << clock.nowMs();
            if (ticks.size() == 3)
                estimate.stop();
        });
        QVERIFY(estimate.isActive());
        clock.advance(10000);
        QCOMPARE(ticks, (QList<qint64>{2000, 4000, 6000}));
        QVERIFY(!estimate.isActive());

        // A single shot restarted from its own callback.
        ClockTimer shot(clock);
        int shots = 0;
        shot.start(100, [&] {
            if (++shots < 3)
                shot.start(100, [&] { ++shots; });
        });
        clock.advance(1000);
        QCOMPARE(shots, 2);
        QVERIFY(!shot.isActive());

        // A timer destroyed by its own callback, or before it is due, runs no more.
        auto timer = std::make_unique<ClockTimer>(clock);
        int ran = 0;
        timer->startRepeating(10, [&] {
            ++ran;
            timer.reset();
        });
        {
            ClockTimer scoped(clock);
            scoped.start(10, [&] { ++ran; });
        }
        clock.advance(100);
        QCOMPARE(ran, 1);
        QCOMPARE(clock.pendingCount(), 0);
    }

    void systemClockRunsAndCancels()
    {
        SystemClock clock;
        const qint64 start = clock.nowMs();
        QList<int> ran;
        clock.schedule(30, [&] { ran << 2; });
        const TimerId cancelled = clock.schedule(10, [&] { ran << 9; });
        clock.schedule(10, [&] { ran << 1; });
        clock.cancel(cancelled);
        QTRY_COMPARE_WITH_TIMEOUT(ran.size(), 2, 5000);
        QCOMPARE(ran, (QList<int>{1, 2}));
        QVERIFY(clock.nowMs() - start >= 30);
    }

    // The text read, and the settings read from it and written again; empty when
    // the text is refused.
    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        const auto row = [](const char *text, const char *read) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromLatin1(read);
        };
        row("9600,N,8,1", "9600 None 8 1 9600,N,8,1");
        row("4800,E,7,2", "4800 Even 7 2 4800,E,7,2");
        row("2400,O,7,2", "2400 Odd 7 2 2400,O,7,2");
        row("300,M,8,1", "300 Mark 8 1 300,M,8,1");
        row("115200,S,5,1", "115200 Space 5 1 115200,S,5,1");
        row("19200,e,8,1", "19200 Even 8 1 19200,E,8,1");
        row("09600,N,08,1", "9600 None 8 1 9600,N,8,1");
        row("4000000,N,8,1", "4000000 None 8 1 4000000,N,8,1");
        // Refused: a field missing or too many, blanks, a baud rate, parity, data
        // or stop bits out of range or unreadable, other separators or digits.
        const QString refused =
            u"|9600,N,8|9600,N,8,1,0|9600,N,8,1,|9600, N,8,1|9600,N,8,1 "
            u"|,N,8,1|0,N,8,1|-9600,N,8,1|"
            "9600.5,N,8,1|4000001,N,8,1|99999999999999999999,N,8,1|9600,None,8,1|9600,X,8,1|"
            "9600,,8,1|9600,N,4,1|9600,N,9,1|9600,N,8,0|9600,N,8,1.5|9600,N,8,3|9600;N;8;1|"
            "\u0669\u0666\u0660\u0660,N,8,1"_s;
        for (const QString &text : refused.split(u'|'))
            QTest::newRow(qPrintable(text)) << text << QString();
    }

    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const auto settings = LineSettings::parse(text);
        QCOMPARE(settings.has_value(), !read.isEmpty());
        const char *parities[] = {"None", "Even", "Odd", "Mark", "Space"};
        if (settings)
            QCOMPARE(u"%1 %2 %3 %4 %5"_s.arg(settings->baudRate)
                         .arg(QLatin1String(parities[int(settings->parity)]))
                         .arg(settings->dataBits)
                         .arg(settings->stopBits)
                         .arg(settings->text()),
                     read);
    }

    void openFailure_data()
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
        QTest::newRow("not in group")
            << permission << denied << 8010
            << noPermission + u"the user anna is not in the group \"dialout\" "
                              "that may use it; add the user to that group "
                              "and log in again"_s;
        QTest::newRow("not logged in again")
            << permission << relogin << 8010
            << noPermission +
                   u"the user anna was added to the group \"dialout\" but has not logged "
                   "in again since"_s;
        QTest::newRow("device modes")
            << permission << modes << 8010
            << noPermission + u"its permissions allow the group \"dialout\" "
                              "no reading and writing"_s;
        QTest::newRow("not found") << int(QSerialPort::DeviceNotFoundError) << DeviceAccess()
                                   << 8002 << u"/dev/ttyUSB0 does not exist"_s;
        QTest::newRow("vanished during the access check")
            << permission << gone << 8002 << u"/dev/ttyUSB0 does not exist"_s;
        QTest::newRow("no terminal")
            << int(QSerialPort::UnsupportedOperationError) << ok << 8012
            << u"/dev/ttyUSB0 is not a serial device (Permission error while locking the device)"_s;
    }

    void openFailure()
    {
        QFETCH(int, qtError);
        QFETCH(DeviceAccess, access);
        QFETCH(int, error);
        QFETCH(QString, text);
        const OpenResult result = velmora::openFailure(
            QSerialPort::SerialPortError(qtError), u"Permission error while locking the device"_s,
            u"/dev/ttyUSB0"_s, access);
        QCOMPARE(result.error, error);
        QCOMPARE(result.text, text);
    }

    void secondOpenIsInUse()
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

    void refusedOpens()
    {
        Pty pty;
        QTemporaryDir dir;
        QFile file(dir.filePath(u"file"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const std::tuple<QString, QString, int> rows[] = {
            {dir.filePath(u"missing"_s), u"9600,N,8,1"_s, PortError::NotFound},
            {file.fileName(), u"9600,N,8,1"_s, PortError::NotSerial},
            {pty.device(), u"9600,X,8,1"_s, PortError::BadSettings},
        };
        for (const auto &[device, settings, error] : rows) {
            QtSerialPortDevice port;
            const OpenResult result = port.open(device, settings);
            QCOMPARE(result.error, error);
            QVERIFY2(result.text.contains(error == PortError::BadSettings ? settings : device),
                     qPrintable(result.text));
            QVERIFY(!port.isOpen());
        }
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
