// The parameter file, then the settings panel, the status display and the
// link's controls in the whole program, with a fake port.

#include "format/formateditor.h"
#include "job/jobcontrolspanel.h"
#include "settings/parameterfile.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tests/support/apprig.h"
#include "widgetkit/lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

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
    // One row for each rule of the reader, read by the program as it starts:
    // what it changes in what the program then writes.
    void readParameterFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("changed");

        QTest::newRow("CR, LF and CR LF; no line end")
            << "port 2\nbaud 7\rdata 0\r\nstop 1"_ba << u"port 2|data 0|baud 7|stop 1"_s;
        QTest::newRow("empty, unknown and capital lines, a key twice")
            << "port 1\r\nport 2\r\n\r\nxxxx 1\r\nPort 3\r\n"_ba << u"port 2"_s;
        QTest::newRow("separator unchecked") << "port:3"_ba << u"port 3"_s;
        QTest::newRow("no number, five characters")
            << "baud abc\r\nform\r\nport 3\r\nport1"_ba << u"baud 0|form 0"_s;
        QTest::newRow("half to even") << "baud 5.5\r\ndata 0.5"_ba << u"data 0|baud 6"_s;
        QTest::newRow("no entry, beyond 16 bits, no box state")
            << "port 6\r\nform -1\r\nstop 65537\r\ndisr 2\r\n"_ba << QString();
        QTest::newRow("only exactly 1 forces on, nothing off")
            << "rtse 2\r\ndtre 1.0\r\ndtre 0\r\n"_ba << u"dtre 1"_s;
        QTest::newRow("calibration out of range kept")
            << "xcal 5\r\nycal 997.5\r\nycal 1E999\r\n"_ba << u"ycal 997.5"_s;
        QTest::newRow("texts trimmed; UTF-8 when valid, else Windows-1252")
            << "idir  C:\\Mus\351e \r\nfrf1 m\xc3\xa9\r\n"_ba << u"idir C:\\Musée|frf1 mé"_s;
        const QByteArray every = "idir /home/m\xc3\xa9/rolls\r\nport 5\r\ndata 0\r\nbaud 9\r\n"
                                 "stop 1\r\npari 2\r\nrtse 1\r\ndtre 1\r\nfrf1 000201**\r\n"
                                 "frl1 010603**\r\nform 2\r\nxcal 997.5\r\nycal 12.25\r\n"
                                 "disr 1\r\nmirr 1\r\n"_ba;
        QTest::newRow("every value off its start value, written back as read")
            << every << QString::fromUtf8(every).trimmed().split(u"\r\n"_s).join(u'|');
    }

    void readParameterFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, changed);
        QStringList lines = writtenAfterReading(file);
        const QStringList start = writtenAfterReading({});
        lines.removeIf([&](const QString &line) { return start.contains(line); });
        QCOMPARE(lines.join(u'|'), changed);
    }

    // The parameter file and the user format editor: what a run leaves in
    // the file and what the next run makes of it.
    void keptAcrossRestart()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString rolls = QFileInfo(samplePath("koraal-52.prt")).absolutePath();
        {
            AppRig rig({}, folder);
            // A first start writes the user format only, and Zelvoor is current.
            QCOMPARE(readFile(folder + u"##vpar.prm"_s),
                     "frf1 00050701****************\r\nfrl1 01040404****************\r\n"_ba);
            QCOMPARE(rig.app.core.formats.selectedFormat(), 1);
            SettingsPanel *s = rig.app.window.settingsPanel();
            FormatEditor *editor = s->frmNewFormat;
            rig.app.window.mnuSet()->trigger();
            emit s->portChoice->activated(1);
            emit s->baudChoice->activated(5);
            // The boxes as a screen reader's Toggle action changes them.
            for (QCheckBox *box : {s->chkRTS, s->chkDTR, s->chkRechts, s->chkMirror})
                box->toggle();
            s->txtXcal->setText(u"997.5"_s);

            s->cmdFormat->click();
            QVERIFY(!editor->isHidden() && !s->cboFormats->isEnabled() &&
                    !s->cmdSettingsExit->isEnabled() && !s->cmdFormat->isEnabled());
            QCOMPARE(s->cboFormats->currentIndex(), 0);
            emit editor->cmbVeld->activated(0);
            QVERIFY(editor->cmblengte->isHidden() && editor->cmdAdd->isEnabled());
            editor->cmdAdd->click();
            for (const auto &[field, length] : {std::pair{2, 6}, {1, 3}}) {
                emit editor->cmbVeld->activated(field);
                emit editor->cmblengte->activated(length);
                editor->cmdAdd->click();
            }
            editor->cmdStore1->click();
            QCOMPARE(editor->lblNF->text(), u"$ , X-begin(6) , 000"_s);
            QCOMPARE(s->lblFormat->text(), editor->lblNF->text());
            editor->cmdNewFormatOK->click();
            QVERIFY(editor->isHidden() && s->cboFormats->isEnabled() &&
                    s->cmdSettingsExit->isEnabled());

            emit s->cboFormats->activated(2);
            s->cmdSettingsExit->click();
            rig.open(samplePath("koraal-52.prt"));
            rig.app.window.controlsPanel()->cmdExit->click();
        }
        QCOMPARE(readFile(folder + u"##vpar.prm"_s),
                 "idir " + rolls.toUtf8() +
                     "\r\nport 1\r\ndata 1\r\nbaud 5\r\nstop 0\r\npari 0\r\nrtse 1\r\ndtre 1\r\n"
                     "frf1 000201******************\r\nfrl1 010603******************\r\nform 2\r\n"
                     "xcal 997.5\r\nycal 1000\r\ndisr 1\r\nmirr 1\r\n"_ba);

        AppRig rig({}, folder);
        SettingsPanel *s = rig.app.window.settingsPanel();
        QCOMPARE(s->portChoice->currentText(), u"COM2"_s);
        QCOMPARE(s->baudChoice->currentText(), u"9600"_s);
        for (const QCheckBox *box : {s->chkRTS, s->chkDTR, s->chkRechts, s->chkMirror})
            QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
        const AppCore &core = rig.app.core;
        QVERIFY(core.portController.forceRts() && core.portController.forceDtr() &&
                core.display.right() && core.display.mirror());
        QCOMPARE(s->cboFormats->currentText(), u"Zelvoor2 (tweezijdig transport)"_s);
        QCOMPARE(s->txtXcal->text(), u"997.5"_s);
        QCOMPARE(rig.app.core.composer.XCalibration(), 997.5f);
        rig.app.core.formats.selectFormat(0);
        QCOMPARE(s->lblFormat->text(), u"$ , X-begin(6) , 000"_s);
        rig.app.window.mnuOpen()->trigger();
        QCOMPARE(rig.chooser.askedDir, rolls);
    }

    void storedFile()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.path() + u"/##vpar.prm"_s,
                          "form 0\r\nfrf1 0005**\r\nxcal 5\nycal 12.5\rdisr 1"));

        AppRig rig({}, dir.path() + u'/');
        SettingsPanel *s = rig.app.window.settingsPanel();
        // The user format was selected before its new texts came.
        QCOMPARE(s->cboFormats->currentIndex(), 0);
        QCOMPARE(s->lblFormat->text(), u"$ , Y-pos(4) , X-next(4) , 0000"_s);
        // A calibration out of range shows light cyan and is not taken.
        QCOMPARE(s->txtXcal->text(), u"5"_s);
        QCOMPARE(s->txtXcal->palette().color(QPalette::Base), QColor(0, 255, 255));
        QCOMPARE(rig.app.core.composer.XCalibration(), 1000.0f);
        QCOMPARE(rig.app.core.composer.YCalibration(), 12.5f);
        QVERIFY(s->chkRechts->isChecked() && rig.app.core.display.right());
    }

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
    // below 10000 also as kept and as written; the status shows it on leaving.
    void calibration_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value"); // 0 for an invalid entry
        QTest::addColumn<QString>("shown");
        QTest::newRow("10") << u"10"_s << 0.0f << u"1000"_s;
        QTest::newRow("just above 10") << u"10.001"_s << 10.001f << u"10.001"_s;
        QTest::newRow("10000") << u"10000"_s << 0.0f << u"1000"_s;
        // Kept as 10000, or written as "10": refused at the next start.
        QTest::newRow("10000 in single precision") << u"9999.9999"_s << 0.0f << u"1000"_s;
        QTest::newRow("written as 10") << u"10.000001"_s << 0.0f << u"1000"_s;
        QTest::newRow("9999.5") << u"9999.5"_s << 9999.5f << u"9999.5"_s;
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
        QCOMPARE(m_controls->shpCTSc->color(), QColor(255, 0, 0));
        m_rig->port.receive("\x13");
        QCOMPARE(m_controls->shpXoffc->color(), QColor(255, 255, 0));
        QCOMPARE(m_settings->shpXoff->color(), QColor(255, 255, 0));

        // The panel closes the port and disables Start; the lists follow a
        // choice and "Standard values"; leaving opens the port again.
        m_rig->app.window.mnuSet()->trigger();
        QVERIFY(!m_rig->port.isOpen() && !m_controls->cmdStart->isEnabled());
        emit m_settings->baudChoice->activated(7);
        QCOMPARE(m_rig->app.core.portController.choices().baud, 7);
        m_settings->cmdConStd->click();
        QCOMPARE(m_settings->baudChoice->currentText(), u"9600"_s);
        m_settings->cmdSettingsExit->click();
        QVERIFY(m_controls->cmdStart->isEnabled());
        m_rig->port.vanish();
        QVERIFY(!m_controls->cmdStart->isEnabled());

        // A port name without a device, then bound in the map.
        m_rig->app.window.mnuSet()->trigger();
        emit m_settings->portChoice->activated(1);
        QCOMPARE(m_settings->lblDevice->text(), u"No device present"_s);
        QVERIFY(writeFile(m_rig->dir.filePath(u"ports.map"_s), "COM2 /dev/pts/9\n"));
        m_settings->cmdSettingsExit->click();
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

        QTest::keyClicks(widget, u"crC"_s);
        QCOMPARE(m_rig->app.core.commEvents.clearToSend(), acts);
        QCOMPARE(m_controls->shpCTSc->color(), acts ? QColor(255, 0, 0) : QColor(150, 150, 150));
        QCOMPARE(m_rig->port.written(), acts ? QByteArray("\x11") : QByteArray());
        if (auto *entry = qobject_cast<QLineEdit *>(widget))
            QVERIFY(entry->text().endsWith(u"crC"_s));
    }

private:
    // The lines the whole program writes after it started on this file.
    static QStringList writtenAfterReading(const QByteArray &file)
    {
        QTemporaryDir dir;
        if (!writeFile(dir.filePath(u"##vpar.prm"_s), file))
            return {};
        AppRig rig({}, dir.path() + u'/');
        return QString::fromUtf8(rig.app.core.settings.currentText()).split(u"\r\n"_s);
    }
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
