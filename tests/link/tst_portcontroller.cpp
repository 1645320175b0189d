#include "link/commevents.h"
#include "link/linklamps.h"
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
    CommEvents events{port, log, lamps, [] { return 1; }};
    PortController controller;
};

} // namespace

class TestPortController : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void settingsText_data();
    void settingsText();
    void sequence_data();
    void sequence();
    void lines();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Rig> m_rig;
};

void TestPortController::init()
{
    QFile map(m_dir.filePath(PortMap::fileName()));
    QVERIFY(map.open(QIODevice::WriteOnly | QIODevice::Truncate));
    map.write("COM2 /dev/ttyS9\n");
    map.close();
    m_rig = std::make_unique<Rig>(m_dir.path() + u'/');
}

void TestPortController::settingsText_data()
{
    QTest::addColumn<PortChoices>("choices");
    QTest::addColumn<QString>("text");
    QTest::newRow("115200,E") << PortChoices{5, 9, 1, 1, 0} << u"115200,E,8,1"_s;
    QTest::newRow("no baud") << PortChoices{0, -1, 0, 1, 0} << QString();
    QTest::newRow("parity past the end") << PortChoices{0, 5, 3, 1, 0} << QString();
    QTest::newRow("stop bits past the end") << PortChoices{0, 5, 0, 1, 2} << QString();
}

void TestPortController::settingsText()
{
    QFETCH(PortChoices, choices);
    QFETCH(QString, text);
    QCOMPARE(PortController::buildPortSettings(choices), text);
}

// Steps: the buttons and choices of the panel ("baud=3" picks the fourth
// baud rate), "loading" while the window loads, "fail=N" for opens refused
// with error N, "vanish" for a device that goes away.
void TestPortController::sequence_data()
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
    row("lost", "open vanish", {open1, closed1, u"/dev/ttyUSB0 is gone (device unplugged)"_s});
}

void TestPortController::sequence()
{
    QFETCH(QString, actions);
    QFETCH(QStringList, logged);
    Rig &rig = *m_rig;
    PortController &c = rig.controller;
    QSignalSpy opened(&c, &PortController::portOpened);
    QSignalSpy lost(&c, &PortController::portLost);
    rig.port.setCts(true);
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
    // The controller keeps CTS high: only an open port shows it.
    QCOMPARE(rig.events.clearToSend(), c.portOpen());
    QCOMPARE(rig.lamps.color(LinkLamp::Cts), rig.lamps.color(LinkLamp::Open) == LampColors::PortOpen
                                                 ? LampColors::Red
                                             : logged.isEmpty() ? LampColors::Initial
                                                                : LampColors::Off);
    QCOMPARE(opened.size(), opens);
    QCOMPARE(lost.size(), actions.count(u"vanish"_s));
}

void TestPortController::lines()
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

QTEST_GUILESS_MAIN(TestPortController)
#include "tst_portcontroller.moc"
