// The settings panel, the status display and the link's controls in the
// whole program, with a fake port.

#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tests/support/apprig.h"
#include "widgetkit/lamp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QColor Red(255, 0, 0);
const QColor Off(150, 150, 150);

} // namespace

class TestSettingsPresenter : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_rig = std::make_unique<AppRig>(QList<PresentPort>{{u"/dev/ttyUSB7"_s, true}});
        m_settings = m_rig->app.window.settingsPanel();
        m_controls = m_rig->app.window.controlsPanel();
        m_rig->app.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_rig->app.window));
    }
    void cleanup() { m_rig.reset(); }

    void showAndLeave()
    {
        MainWindow &window = m_rig->app.window;
        const auto menusAndExit = [&] {
            return window.mnuFile()->menuAction()->isEnabled() && window.mnuSet()->isEnabled() &&
                   window.mnuTest()->isEnabled() && m_controls->cmdExit->isEnabled();
        };
        m_controls->cmdOpenport->click();
        QCOMPARE(statusLines().value(6), u"Port: COM1 (open)"_s);

        window.mnuSet()->trigger();
        QVERIFY(m_settings->isVisible() && !m_controls->isEnabled() && !menusAndExit());
        QVERIFY(m_settings->cmdFormat->isEnabled());
        QCOMPARE(statusLines(), (QStringList{u"Zelvoor"_s, m_settings->lblFormat->text(), QString(),
                                             u"Xcalibration: 1000"_s, u"Ycalibration: 1000"_s,
                                             QString(), u"Port: COM1 (closed)"_s, u"Baud: 4800"_s,
                                             u"Parity: None"_s, u"Stopbits: 1"_s}));

        // The X entry counts for X; the status follows on leaving.
        m_settings->txtXcal->setText(u"50"_s);
        QCOMPARE(m_rig->app.core.composer.XCalibration(), 50.0f);
        QCOMPARE(statusLines().value(3), u"Xcalibration: 1000"_s);

        // The format choice shows at once.
        emit m_settings->cboFormats->activated(2);
        QCOMPARE(m_settings->lblFormat->text(), m_rig->app.core.formats.currentFormatDescription());
        QCOMPARE(statusLines().value(0), u"Zelvoor2 (tweezijdig transport)"_s);

        m_settings->cmdSettingsExit->click();
        QVERIFY(!m_settings->isVisible() && m_controls->isEnabled() && menusAndExit());
        QCOMPARE(statusLines().value(3), u"Xcalibration: 50"_s);
        QCOMPARE(statusLines().value(6), u"Port: COM1 (open)"_s);
        QCOMPARE(m_rig->app.core.log.text(),
                 u"COM 1: Open at 4800,N,8,1\r\nCOM 1: Closed\r\nCOM 1: Open at 4800,N,8,1\r\n"_s);

        // Leaving with a failing open.
        window.mnuSet()->trigger();
        m_rig->port.failOpens(PortError::InUse);
        m_settings->cmdSettingsExit->click();
        QCOMPARE(statusLines().value(6), u"Port: COM1 (closed)"_s);
        QCOMPARE(m_controls->shpOpen->color(), QColor(80, 80, 80));
    }

    // A calibration entry colours at once and counts when valid, above 10 and
    // below 10000; the status shows it on leaving.
    void calibration_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value"); // 0 for an invalid entry
        QTest::addColumn<QString>("shown");
        QTest::newRow("10") << u"10"_s << 0.0f << u"1000"_s;
        QTest::newRow("just above 10") << u"10.001"_s << 10.001f << u"10.001"_s;
        QTest::newRow("10000") << u"10000"_s << 0.0f << u"1000"_s;
        QTest::newRow("9999.5") << u"9999.5"_s << 9999.5f << u"9999.5"_s;
        QTest::newRow("exponent, blanks inside") << u" 1.2 5e3"_s << 1250.0f << u"1250"_s;
        QTest::newRow("single precision") << u"1000.00001"_s << 1000.0f << u"1000"_s;
    }

    void calibration()
    {
        QFETCH(QString, text);
        QFETCH(float, value);
        QFETCH(QString, shown);
        m_rig->app.window.mnuSet()->trigger();
        m_settings->txtYcal->setText(text);
        QCOMPARE(m_settings->txtYcal->palette().color(QPalette::Base),
                 value ? QColor(255, 255, 255) : QColor(0, 255, 255));
        QCOMPARE(m_rig->app.core.composer.YCalibration(), value ? value : 1000.0f);
        m_settings->cmdSettingsExit->click();
        QCOMPARE(statusLines().value(4), u"Ycalibration: "_s + shown);
    }

    void linkControls()
    {
        QCOMPARE(m_settings->lblDevice->text(), u"/dev/ttyUSB7"_s);
        m_rig->open(samplePath("koraal-52.prt"));
        m_rig->port.setCts(true);
        m_controls->cmdOpenport->click();
        QVERIFY(m_controls->cmdStart->isEnabled());
        QCOMPARE(m_controls->shpOpen->color(), QColor(60, 60, 255));
        QCOMPARE(m_controls->shpCTSc->color(), Red);
        m_rig->port.receive("\x13");
        QCOMPARE(m_controls->shpXoffc->color(), QColor(255, 255, 0));
        QCOMPARE(m_settings->shpXoff->color(), QColor(255, 255, 0));

        // A choice closes the port and disables Start; the lists follow
        // "Standard values".
        emit m_settings->baudChoice->activated(7);
        QVERIFY(!m_rig->port.isOpen() && !m_controls->cmdStart->isEnabled());
        m_settings->cmdConStd->click();
        QCOMPARE(m_settings->baudChoice->currentText(), u"9600"_s);
        m_controls->cmdOpenport->click();
        QVERIFY(m_controls->cmdStart->isEnabled());
        m_rig->port.vanish();
        QVERIFY(!m_controls->cmdStart->isEnabled());

        // A port name without a device, then bound in the map.
        emit m_settings->portChoice->activated(1);
        QCOMPARE(m_settings->lblDevice->text(), u"No device present"_s);
        QFile map(m_rig->dir.filePath(u"ports.map"_s));
        QVERIFY(map.open(QIODevice::WriteOnly));
        map.write("COM2 /dev/pts/9\n");
        map.close();
        m_rig->app.window.mnuSet()->trigger();
        QCOMPARE(m_settings->lblDevice->text(), u"/dev/pts/9 (ports.map)"_s);
    }

    // The keys "c" and "r" act only while no text entry has the focus.
    void keys_data()
    {
        QTest::addColumn<QString>("focus"); // objectName of the widget with the focus
        QTest::addColumn<bool>("acts");
        QTest::newRow("button") << u"cmdOpenport"_s << true;
        QTest::newRow("next-note entry") << u"txtNextNote"_s << false;
        QTest::newRow("log") << u"txtLog"_s << false;
    }

    void keys()
    {
        QFETCH(QString, focus);
        QFETCH(bool, acts);
        m_controls->cmdOpenport->click();
        QApplication::setActiveWindow(&m_rig->app.window);
        QVERIFY(QTest::qWaitForWindowActive(&m_rig->app.window));
        auto *widget = m_rig->app.window.findChild<QWidget *>(focus);
        widget->setFocus();
        QCOMPARE(QApplication::focusWidget(), widget);

        QTest::keyClick(widget, 'c');
        QTest::keyClick(widget, 'r');
        QTest::keyClick(widget, 'C', Qt::ShiftModifier);
        QCOMPARE(m_rig->app.core.commEvents.clearToSend(), acts);
        QCOMPARE(m_controls->shpCTSc->color(), acts ? Red : Off);
        QCOMPARE(m_rig->port.written(), acts ? QByteArray("\x11") : QByteArray());
        if (auto *entry = qobject_cast<QLineEdit *>(widget))
            QVERIFY(entry->text().endsWith(u"crC"_s));
    }

private:
    QStringList statusLines() const
    {
        return m_rig->app.window.statusPanel()->lblStatus->text().split(u"\r\n"_s);
    }

    std::unique_ptr<AppRig> m_rig;
    SettingsPanel *m_settings = nullptr;
    JobControlsPanel *m_controls = nullptr;
};

QTEST_MAIN(TestSettingsPresenter)
#include "tst_settingspresenter.moc"
