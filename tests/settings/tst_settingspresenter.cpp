// The settings panel, the status display and the link's controls in the
// whole program, with a fake port.

#include "app/application.h"
#include "app/lamp.h"
#include "job/jobcontrolspanel.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tests/support/fakeserialport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

class Chooser : public FileChooser
{
public:
    void choosePrtFile(const QString &, std::function<void(FileChoice)> done) override
    {
        done({FileChoice::Chosen, QStringLiteral(VELMORA_SOURCE_DIR "/samples/koraal-52.prt"), {}});
    }
};

const QColor Red(255, 0, 0);
const QColor Off(150, 150, 150);

} // namespace

class TestSettingsPresenter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_app.reset(); }
    void showAndLeave();
    void linkControls();
    void keys_data();
    void keys();

private:
    QStringList statusLines() const
    {
        return m_app->window.statusPanel()->lblStatus->text().split(u"\r\n"_s);
    }
    QStringList logLines() const
    {
        return m_app->core.log.text().split(u"\r\n"_s, Qt::SkipEmptyParts);
    }

    QTemporaryDir m_dir;
    VirtualClock m_clock;
    std::unique_ptr<FakeSerialPort> m_port;
    Chooser m_chooser;
    std::unique_ptr<Application> m_app;
    SettingsPanel *m_settings = nullptr;
    JobControlsPanel *m_controls = nullptr;
};

void TestSettingsPresenter::init()
{
    m_port = std::make_unique<FakeSerialPort>();
    m_app = std::make_unique<Application>(
        AppServices{m_clock, *m_port, m_chooser, QStringLiteral(VELMORA_SOURCE_DIR "/help/"),
                    m_dir.path() + u'/', [] {
                        return QList<PresentPort>{{u"/dev/ttyUSB7"_s, true}};
                    }});
    m_settings = m_app->window.settingsPanel();
    m_controls = m_app->window.controlsPanel();
    m_app->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_app->window));
}

void TestSettingsPresenter::showAndLeave()
{
    MainWindow &window = m_app->window;
    m_controls->cmdOpenport->click();
    QCOMPARE(statusLines().value(6), u"Port: COM1 (open)"_s);

    window.mnuSet()->trigger();
    QVERIFY(m_settings->isVisible() && !m_controls->isEnabled());
    QVERIFY(!window.mnuFile()->menuAction()->isEnabled() && !window.mnuSet()->isEnabled() &&
            !window.mnuTest()->isEnabled());
    QVERIFY(m_settings->cmdFormat->isEnabled() && !m_controls->cmdExit->isEnabled());
    QCOMPARE(statusLines(), (QStringList{u"Zelvoor"_s, m_settings->lblFormat->text(), QString(),
                                         u"Xcalibration: 1000"_s, u"Ycalibration: 1000"_s,
                                         QString(), u"Port: COM1 (closed)"_s, u"Baud: 4800"_s,
                                         u"Parity: None"_s, u"Stopbits: 1"_s}));

    // Calibration entries: colour and value at once, the status on leaving.
    m_settings->txtXcal->setText(u"5"_s);
    QCOMPARE(m_settings->txtXcal->palette().color(QPalette::Base), QColor(0, 255, 255));
    m_settings->txtXcal->setText(u"50"_s);
    QCOMPARE(m_settings->txtXcal->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCOMPARE(m_app->core.composer.XCalibration(), 50.0f);
    QCOMPARE(statusLines().value(3), u"Xcalibration: 1000"_s);

    // The format choice shows at once.
    emit m_settings->cboFormats->activated(2);
    QCOMPARE(m_settings->lblFormat->text(), m_app->core.formats.currentFormatDescription());
    QCOMPARE(statusLines().value(0), u"Zelvoor2 (tweezijdig transport)"_s);

    m_settings->cmdSettingsExit->click();
    QVERIFY(!m_settings->isVisible() && m_controls->isEnabled());
    QVERIFY(window.mnuFile()->menuAction()->isEnabled() && window.mnuSet()->isEnabled() &&
            window.mnuTest()->isEnabled() && m_controls->cmdExit->isEnabled());
    QCOMPARE(statusLines().value(3), u"Xcalibration: 50"_s);
    QCOMPARE(statusLines().value(6), u"Port: COM1 (open)"_s);
    QCOMPARE(logLines(), (QStringList{u"COM 1: Open at 4800,N,8,1"_s, u"COM 1: Closed"_s,
                                      u"COM 1: Open at 4800,N,8,1"_s}));

    // Leaving with a failing open.
    window.mnuSet()->trigger();
    m_port->failOpens(PortError::InUse);
    m_settings->cmdSettingsExit->click();
    QCOMPARE(statusLines().value(6), u"Port: COM1 (closed)"_s);
    QCOMPARE(m_controls->shpOpen->color(), QColor(80, 80, 80));
}

void TestSettingsPresenter::linkControls()
{
    QCOMPARE(m_settings->lblDevice->text(), u"/dev/ttyUSB7"_s);
    m_app->window.mnuOpen()->trigger();
    m_port->setCts(true);
    m_controls->cmdOpenport->click();
    QVERIFY(m_controls->cmdStart->isEnabled());
    QCOMPARE(m_controls->shpOpen->color(), QColor(60, 60, 255));
    QCOMPARE(m_controls->shpCTSc->color(), Red);
    m_port->receive("\x13");
    QCOMPARE(m_controls->shpXoffc->color(), QColor(255, 255, 0));
    QCOMPARE(m_settings->shpXoff->color(), QColor(255, 255, 0));

    // A choice closes the port and disables Start; the lists follow
    // "Standard values".
    emit m_settings->baudChoice->activated(7);
    QVERIFY(!m_port->isOpen() && !m_controls->cmdStart->isEnabled());
    m_settings->cmdConStd->click();
    QCOMPARE(m_settings->baudChoice->currentText(), u"9600"_s);
    m_controls->cmdOpenport->click();
    QCOMPARE(logLines().last(), u"COM 1: Open at 9600,N,8,1"_s);

    // The device goes away: closed, Start off, the reason logged.
    m_port->vanish();
    QVERIFY(!m_controls->cmdStart->isEnabled());
    QCOMPARE(logLines().mid(3),
             (QStringList{u"COM 1: Closed"_s, u"/dev/ttyUSB7 is gone (device unplugged)"_s}));

    // A port name without a device, then bound in the map.
    emit m_settings->portChoice->activated(1);
    QCOMPARE(m_settings->lblDevice->text(), u"No device present"_s);
    QFile map(m_dir.filePath(u"ports.map"_s));
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("COM2 /dev/pts/9\n");
    map.close();
    m_app->window.mnuSet()->trigger();
    QCOMPARE(m_settings->lblDevice->text(), u"/dev/pts/9 (ports.map)"_s);
}

void TestSettingsPresenter::keys_data()
{
    QTest::addColumn<QString>("focus"); // objectName of the widget with the focus
    QTest::addColumn<bool>("acts");
    QTest::newRow("button") << u"cmdOpenport"_s << true;
    QTest::newRow("next-note entry") << u"txtNextNote"_s << false;
    QTest::newRow("log") << u"txtLog"_s << false;
}

void TestSettingsPresenter::keys()
{
    QFETCH(QString, focus);
    QFETCH(bool, acts);
    m_controls->cmdOpenport->click();
    QApplication::setActiveWindow(&m_app->window);
    QVERIFY(QTest::qWaitForWindowActive(&m_app->window));
    auto *widget = m_app->window.findChild<QWidget *>(focus);
    widget->setFocus();
    QCOMPARE(QApplication::focusWidget(), widget);

    QTest::keyClick(widget, 'c');
    QTest::keyClick(widget, 'r');
    QTest::keyClick(widget, 'C', Qt::ShiftModifier);
    QCOMPARE(m_app->core.commEvents.clearToSend(), acts);
    QCOMPARE(m_controls->shpCTSc->color(), acts ? Red : Off);
    QCOMPARE(m_port->written(), acts ? QByteArray("\x11") : QByteArray());
    if (auto *entry = qobject_cast<QLineEdit *>(widget))
        QVERIFY(entry->text().endsWith(u"crC"_s));
}

QTEST_MAIN(TestSettingsPresenter)
#include "tst_settingspresenter.moc"
