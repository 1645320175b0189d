#include "app/application.h"
#include "app/mainwindow.h"
#include "extras/extrasettingsdialog.h"
#include "format/formateditor.h"
#include "history/historywindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tests/support/apprig.h"
#include "tools/toolspanel.h"
#include "widgetkit/lamp.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Every control by its container ("MainWindow" for the window's own) after
// ":", then by "|": its name, then "=" and the caption or text a user sees.
// A "-" before the name marks a control that starts disabled, a "~" one that
// starts hidden.
const char *const Layout[] = {
    "MainWindow:~picTools|~picSettings|picRol|frmStatus|frmControls|cmdDummy|~winHistory|"
    "~dlgExtraSettings",
    "winHistory:tblHistory|cmdExportCsv=Export CSV|lblExport",
    "dlgExtraSettings:frmEvents=Commands run when a job ends|frmWindow=Window|lblExtraFile|"
    "cmdExtraOK=OK|cmdExtraCancel=Cancel",
    "frmWindow:cboLanguage|lblLanguage=Language|lblLanguageNext=Applies at the next start.",
    "frmEvents:txtEventCompleted|txtEventStopped|txtEventControllerStop|txtEventPortLost|"
    "lblEventCompleted=Roll completed|lblEventStopped=Stopped with Stop|"
    "lblEventControllerStop=Stopped by the controller|lblEventPortLost=Port lost, job paused|"
    "lblEventHelp",
    "picTools:frmCommands=Adjustcommand for the PIC|frmToolPaper|frmToolArm|cmdToolsExit=Exit|"
    "lblZelvoor=Test tools for the Zelvoor interface|Shape2",
    "frmCommands:txtVal1|txtVal2|-cmdSubmitmanual=Send command|-cmdShowSettings=Show settings|"
    "lblNumteken=# ,|lblValue=command     value|lblNullen=,  0000 |lblComma= , ",
    "frmToolPaper:-cmdActivatePunch=Activate punch|cmdPapeprStepsBack=Backward paper|"
    "cmdpaperSteps=Forward paper|txtPaperSteps|lblpapers=steps",
    "frmToolArm:-cmdArmtostart=Arm to startpos|-cmdArmCenter=Arm to center|"
    "cmdArmBackwards=Arm backwards|cmdArmForewards=Armforewards|txtArmBackwards|"
    "txtArmForewards|lblforestep=steps",
    "picSettings:frmComset=Serial communication|frmFormats=Format in use|txtXcal=1000|"
    "txtYcal=1000|chkRechts=Move roll on screen to right|chkMirror=Display in mirror image|"
    "cmdSettingsExit=Exit|lblXcal=X-calibration (paper)|lblYcal=Y-calibration (arm)|Shape1",
    "frmComset:stopBitChoice|baudChoice|parityChoice|dataBitChoice|portChoice|"
    "cmdConStd=Standard values|chkDTR=force on|chkRTS=force on|shpRTS|shpDTR|shpRI|shpCD|"
    "shpCTS|shpDSR|shpXon|shpXoff|lblPort|lblDatabits|lblParity|lblBaud|lblStopbits|"
    "lblCTS=CTS|lblDSR=DSR|lblCD=CD|lblRI=RI|lblDTR=DTR|lblRTS=RTS|lblXon=Xon|lblXoff=Xoff|"
    "lblOutgo=outgoing signals|lblInco=incoming signals|lblDevice",
    "frmFormats:cboFormats|cmdFormat=Edit user format|~frmNewFormat=User format|"
    "lblSelectformat=Select format|lblFormat",
    "frmNewFormat:cmdNewFormatOK=OK|cmdAdd=Add field to format|cmdStore1=Store format|"
    "cmdRemove=Remove last field|cmbVeld|cmblengte|lblNF=|lblVeld=Field|"
    "lblLen=Field length (output)",
    "frmStatus:lblStatus",
    "frmControls:cmdOpenport=Open port|-cmdStop=Stop|cmdExit=Exit|-cmdStart=Start|"
    "-cmdPause=Pause|-cmdResume=Resume|-cmd1Note=1 punch|~picStop|vscNextNote|txtNextNote|"
    "txtLog|shpOpen|shpXoffc|shpXonc|shpCTSc|~Label1|lblXoffc=Xoff|lblXonc=Xon|lblCTSc=CTS|"
    "lblRemain=Remaining time|prgPunched|lblOpened|lblStartrec=Next note is:",
    "picStop:cmdStopYes=Yes|cmdStopNo=No|lblStop=Really stop?",
};

// The kind of control a name stands for, by its prefix; a name ending in
// "Choice" stands for a list.
QByteArray kindOf(const QString &name)
{
    const QString kinds = u"cmd:QPushButton lbl:QLabel Label:QLabel txtLog:QPlainTextEdit "
                          "txt:QLineEdit chk:QCheckBox frm:QGroupBox shp:velmora::Lamp "
                          "Shape:QFrame picStop:QFrame picTools:velmora::ToolsPanel "
                          "picSettings:velmora::SettingsPanel picRol:velmora::RollView "
                          "cbo:QComboBox cmb:QComboBox vsc:QScrollBar prg:QProgressBar "
                          "win:velmora::HistoryWindow dlg:velmora::ExtraSettingsDialog "
                          "tbl:QTableView"_s;
    for (const QString &kind : kinds.split(u' ')) {
        if (name.startsWith(kind.section(u':', 0, 0)))
            return kind.section(u':', 1).toLatin1();
    }
    return name.endsWith(u"Choice"_s) ? "QComboBox" : "?";
}

// The caption a user sees on a control: a frame's title, or its text.
QString captionOf(const QWidget *control)
{
    const QVariant title = control->property("title");
    return title.isValid() ? title.toString() : control->property("text").toString();
}

} // namespace

// The window on its own, then wired to the whole program on a fake port: the
// file label, the preview, the next note and the log.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void controls()
    {
        QStringList containers, listed;
        for (const char *entries : Layout)
            containers << QString::fromUtf8(entries).section(u':', 0, 0);
        for (const char *entries : Layout) {
            const QString container = QString::fromUtf8(entries).section(u':', 0, 0);
            for (const QString &text : QString::fromUtf8(entries).section(u':', 1).split(u'|')) {
                const QString name = text.section(u'=', 0, 0).remove(u'-').remove(u'~');
                listed << name;
                const QWidget *w = control(name);
                QVERIFY2(w, qPrintable(name + u": missing, or more than one of that name"_s));
                QVERIFY2(w->inherits(kindOf(name)), qPrintable(name));
                // The nearest listed container above it.
                const QWidget *box = w->parentWidget();
                while (box->parentWidget() && !containers.contains(box->objectName()))
                    box = box->parentWidget();
                QCOMPARE(box->parentWidget() ? box->objectName() : u"MainWindow"_s, container);
                if (text.contains(u'='))
                    QCOMPARE(captionOf(w), text.section(u'=', 1));
                QVERIFY2(w->isEnabled() != text.startsWith(u'-'), qPrintable(name));
                QVERIFY2(w->isHidden() == text.startsWith(u'~'), qPrintable(name));
            }
        }
        // Every named control, but the central widget and the menus, is listed,
        // found by assistive technology under its name and announced by some
        // name; labels and decorative shapes speak through their text alone.
        for (QWidget *w : m_window->findChildren<QWidget *>()) {
            const QString name = w->objectName();
            if (name.isEmpty() || name.startsWith(u"qt_"_s) || qobject_cast<QMenu *>(w) ||
                name == u"centralWidget"_s)
                continue;
            QVERIFY2(listed.contains(name), qPrintable(name + u": not listed"_s));
            QCOMPARE(w->accessibleDescription(), name);
            if (!qobject_cast<const QLabel *>(w) && !name.startsWith(u"Shape"_s)) {
                const QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
                QVERIFY2(iface && !iface->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(name));
            }
        }
    }

    void startValues()
    {
        QCOMPARE(m_window->windowTitle(),
                 u"Velmora - Punch control program for serial port      version 3.5"_s);
        const QScrollBar *bar = m_window->controlsPanel()->vscNextNote;
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->value()}),
                 QList<int>({-1, 1, 0}));
        const QPlainTextEdit *log = m_window->controlsPanel()->txtLog;
        QVERIFY(log->isReadOnly() && log->toPlainText().isEmpty());

        for (const Lamp *lamp : m_window->findChildren<Lamp *>())
            QCOMPARE(lamp->color(), QColor(128, 128, 128));
        for (const QLineEdit *entry :
             {m_window->toolsPanel()->txtVal1, m_window->toolsPanel()->txtVal2})
            QCOMPARE(entry->palette().color(QPalette::Base), QColor(224, 224, 224));

        // Each list by its name: the current index, then its items.
        for (const char *row :
             {"portChoice 0 COM1|COM2|COM3|COM4|COM5|COM6",
              "baudChoice 4 300|600|1200|2400|4800|9600|19200|38400|57600|115200",
              "parityChoice 0 None|Even|Odd", "dataBitChoice 1 7|8", "stopBitChoice 0 1|2",
              "cboFormats -1 User format|Zelvoor|Zelvoor2 (tweezijdig transport)"}) {
            const QString text = QString::fromLatin1(row);
            auto *list = qobject_cast<QComboBox *>(control(text.section(u' ', 0, 0)));
            QVERIFY2(list, row);
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->itemText(i);
            QCOMPARE(items.join(u'|'), text.section(u' ', 2));
            QCOMPARE(list->currentIndex(), text.section(u' ', 1, 1).toInt());
            QVERIFY(!list->isEditable());
        }
    }

    // Each item by its name and text; Settings and Tools act from the bar itself.
    void menus()
    {
        QList<QAction *> actions = m_window->menuBar()->actions();
        actions << m_window->mnuFile()->actions() << m_window->mnuExtras()->actions()
                << m_window->mnuHelp()->actions();
        QStringList items;
        for (const QAction *action : actions)
            items << (action->menu() ? action->menu()->objectName() : action->objectName()) + u'=' +
                         action->text();
        QCOMPARE(items.join(u'|'), u"mnuFile=    File    |mnuSet=Settings      |mnuTest=Tools    |"
                                   "mnuExtras=Extras    |mnuHelp=  Help|mnuOpen=Open|mnuExit=Exit|"
                                   "mnuHistory=Job history|mnuExtraSettings=Extra settings|"
                                   "mnuHelpNL=Nederlands|mnuHelpUK=English"_s);
        QVERIFY(!m_window->mnuSet()->menu() && !m_window->mnuTest()->menu());
    }

    // The preview takes what a resize adds, and the tools panel lies over its
    // top-left corner without resizing it (where the preview moves is the tools
    // panel's test).
    void resizingResizesPreview()
    {
        QWidget *preview = control(u"picRol"_s);
        const JobControlsPanel *controls = m_window->controlsPanel();
        const QWidget *status = m_window->statusPanel();
        QSignalSpy resized(m_window->rollView(), &RollView::resized);
        const QSize controlsSize = controls->size();
        const QSize size = preview->size() + QSize(40, 30);

        m_window->resize(m_window->size() + QSize(40, 30));
        QTRY_COMPARE(preview->size(), size);
        QVERIFY(!resized.isEmpty());
        QCOMPARE(resized.last().first().toSize(), size);

        // The frames keep their size, stand below the preview and share a height.
        QCOMPARE(controls->size(), controlsSize);
        QCOMPARE(status->height(), controls->height());
        QCOMPARE(status->y(), controls->y());
        QVERIFY(controls->y() >=
                preview->mapTo(controls->parentWidget(), QPoint(0, preview->height())).y());
        QVERIFY(status->x() >= controls->geometry().right());

        // The stop question appears just under Start, at its left.
        QCOMPARE(controls->picStop->x(), controls->cmdStart->x());
        QVERIFY(controls->picStop->y() > controls->cmdStart->geometry().bottom());

        m_window->setToolsPanelShown(true);
        const QWidget *tools = m_window->toolsPanel();
        QWidget *central = tools->parentWidget();
        const QWidget *hit = central->childAt(preview->mapTo(central, QPoint(4, 4)));
        QVERIFY(hit == tools || tools->isAncestorOf(hit));
        QCOMPARE(preview->size(), size);
        m_window->setToolsPanelShown(false);
        QCOMPARE(preview->size(), size);
    }

    void initialWindowSize_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("controls");
        QTest::addColumn<int>("toolsHeight");
        QTest::addColumn<QSize>("expected");

        // The controls frame tall or low; the status frame 250 wide throughout.
        const QSize tall(300, 240);
        const QSize low(300, 100);
        const std::tuple<const char *, QSize, QSize, QSize, int, QSize> rows[] = {
            {"651 wide", {651, 1080}, {651, 1080}, tall, 370, {560, 668}},
            {"650 wide: main controls only", {650, 1080}, {650, 1080}, tall, 370, {310, 668}},
            {"narrow available part", {1920, 1080}, {400, 1080}, tall, 370, {400, 668}},
            {"491 high", {1366, 491}, {1366, 491}, low, 100, {560, 258}},
            {"490 high: all it has", {1366, 490}, {1366, 490}, low, 100, {560, 458}},
            {"rule higher than the screen", {1366, 600}, {1366, 560}, tall, 370, {560, 528}},
        };
        for (const auto &[name, screen, available, controls, tools, expected] : rows)
            QTest::newRow(name) << screen << available << controls << tools << expected;
    }

    void initialWindowSize()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, available);
        QFETCH(QSize, controls);
        QFETCH(int, toolsHeight);
        QFETCH(QSize, expected);
        QCOMPARE(MainWindow::initialWindowSize(screen, available, controls, QSize(250, 200),
                                               QSize(300, toolsHeight)),
                 expected);
    }

    void opening()
    {
        AppRig rig;
        const JobControlsPanel *c = rig.app.window.controlsPanel();
        rig.app.window.show();
        // A roll accepted after an accepted one, then one refused after it.
        for (const QString &path :
             {samplePath("wals-in-g-45.prt"), QStringLiteral(VELMORA_SOURCE_DIR "/README.prt")}) {
            const bool accepted = path.endsWith(u"45.prt"_s);
            rig.open(samplePath("wals-in-g-45.prt"));
            rig.open(path);
            QCOMPARE(rig.app.core.opener.fileLoaded(), accepted);
            // The label shows the opener's text with its line ends as the platform's.
            const QLabel *label = c->lblOpened;
            QCOMPARE(label->text(), rig.app.core.opener.labelText().replace(u"\r\n"_s, u"\n"_s));
            QVERIFY(label->text().startsWith(accepted ? u"Wals in G\n"_s : u"Error"_s));
            QCOMPARE(label->palette().color(QPalette::Window),
                     accepted ? QColor(200, 200, 200) : QColor(0, 255, 255));
            QCOMPARE(rig.app.window.rollView()->shapes().size() > 1, accepted);
            QCOMPARE(c->txtNextNote->text(), u"1"_s);
            QVERIFY(!c->cmdStart->isEnabled()); // the port is still closed
        }
    }

    void nextNoteControls()
    {
        AppRig rig;
        const JobControlsPanel *c = rig.app.window.controlsPanel();
        // Enter past the end, then the upper arrow from a typed note.
        QLineEdit *entry = c->txtNextNote;
        rig.open(samplePath("wals-in-g-45.prt"));
        entry->setText(u"999"_s);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(entry->text(), u" 473"_s);
        QCOMPARE(rig.app.core.nextNote.value(), 473);

        rig.open(samplePath("wals-in-g-45.prt"));
        entry->setText(u"3"_s);
        c->vscNextNote->setValue(-1);
        QCOMPARE(c->vscNextNote->value(), 0);
        QCOMPARE(entry->text(), u" 4"_s);
        QCOMPARE(rig.app.core.nextNote.value(), 4);
    }

    // During a job nothing the window refuses acts, whichever way it comes: a
    // menu entry triggered, a button clicked, hidden or disabled, a box
    // toggled, a list chosen from, an entry's text put in, or their signals
    // arriving on their own as from an event queued before the window
    // changed. No dialog, no roll, no end, the port untouched, no setting
    // changed, every control still showing what the program holds; then the
    // job punches the roll to its end.
    void refusedDuringJob()
    {
        AppRig rig({{u"/dev/ttyUSB0"_s, true}});
        MainWindow &w = rig.app.window;
        JobControlsPanel *c = w.controlsPanel();
        SettingsPanel *s = w.settingsPanel();
        ToolsPanel *t = w.toolsPanel();
        const AppCore &core = rig.app.core;
        w.show();
        rig.open(samplePath("wals-in-g-45.prt"));
        rig.punch(5);
        const QByteArray settings = core.settings.currentText();
        const QString log = core.log.text();
        rig.chooser.askedDir.clear();
        rig.port.clearCalls();

        const auto press = [](QPushButton *button) {
            button->click();
            emit button->clicked();
        };
        const auto trigger = [](QAction *action) {
            action->trigger();
            emit action->triggered();
        };
        const std::pair<const char *, std::function<void()>> actions[] = {
            {"File, Open", [&] { trigger(w.mnuOpen()); }},
            {"File, Exit", [&] { trigger(w.mnuExit()); }},
            {"Exit", [&] { press(c->cmdExit); }},
            {"close box", [&] { w.close(); }},
            {"Settings", [&] { trigger(w.mnuSet()); }},
            {"the settings panel's Exit", [&] { press(s->cmdSettingsExit); }},
            {"Open port", [&] { press(c->cmdOpenport); }},
            {"Start", [&] { press(c->cmdStart); }},
            {"Resume", [&] { press(c->cmdResume); }},
            {"1 punch", [&] { press(c->cmd1Note); }},
            {"Yes", [&] { press(c->cmdStopYes); }},
            {"boxes",
             [&] {
                 for (QCheckBox *box : {s->chkRTS, s->chkDTR, s->chkRechts, s->chkMirror})
                     box->toggle();
             }},
            {"port lists", [&] { emit s->baudChoice->activated(7); }},
            {"Standard values", [&] { press(s->cmdConStd); }},
            {"format list", [&] { emit s->cboFormats->activated(2); }},
            {"Edit user format", [&] { press(s->cmdFormat); }},
            {"editor", [&] { press(s->frmNewFormat->cmdStore1); }},
            {"calibration", [&] { s->txtXcal->setText(u"50"_s); }},
            {"tool command", [&] { press(t->cmdActivatePunch); }},
        };
        for (const auto &[name, act] : actions) {
            act();
            QVERIFY2(w.isVisible() && rig.chooser.askedDir.isEmpty(), name);
            QVERIFY2(rig.port.calls().isEmpty() && core.log.text() == log, name);
            QVERIFY2(core.settings.currentText() == settings && core.jobRunning(), name);
            QVERIFY2(s->isHidden() && t->isHidden() && s->frmNewFormat->isHidden(), name);
        }
        for (const QCheckBox *box : {s->chkRTS, s->chkDTR, s->chkRechts, s->chkMirror})
            QVERIFY(!box->isChecked());
        QCOMPARE(s->baudChoice->currentIndex(), 4);
        QCOMPARE(s->cboFormats->currentIndex(), 1);
        QCOMPARE(s->txtXcal->text(), u"1000"_s);
        // The Extras menu stays open, its entries enabled: their windows touch
        // neither the port nor the roll.
        w.mnuHistory()->trigger();
        w.mnuExtraSettings()->trigger();
        QVERIFY(w.mnuExtras()->menuAction()->isEnabled());
        QVERIFY(w.historyWindow()->isVisible() && w.extraSettingsDialog()->isVisible());
        QVERIFY(rig.port.calls().isEmpty() && core.jobRunning());

        rig.run();
        QCOMPARE(rig.port.writes().size(), core.holes.holeCount());
    }

    void logViewFollowsLog()
    {
        AppRig rig;
        Logbook &log = rig.app.core.log;
        for (int i = 0; i < 800; ++i)
            log.writeLog(u"line %1"_s.arg(i), LogKind::Sent);
        QVERIFY(log.text().size() <= Logbook::Bound + 20);
        QCOMPARE(rig.app.window.controlsPanel()->txtLog->toPlainText(), logViewText(log.text()));
    }

private:
    QWidget *control(const QString &name) const
    {
        const QList<QWidget *> found = m_window->findChildren<QWidget *>(name);
        return found.size() == 1 ? found.first() : nullptr;
    }

    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
