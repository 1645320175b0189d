#include "app/application.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tests/support/apprig.h"
#include "tools/toolspanel.h"
#include "widgetkit/lamp.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
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
// ":", then by "|": its name, then "=" and the caption a user sees. A "-"
// before the name marks a control that starts disabled, a "~" one that
// starts hidden.
const char *const Layout[] = {
    "MainWindow:~picTools|~picSettings|picRol|frmStatus|frmControls|cmdDummy",
    "picTools:frmCommands=Adjustcommand for the PIC|frmToolPaper|frmToolArm|cmdToolsExit=Exit|"
    "lblZelvoor=Test tools for the Zelvoor interface|Shape2",
    "frmCommands:txtVal1|txtVal2|-cmdSubmitmanual=Send command|-cmdShowSettings=Show settings|"
    "lblNumteken=# ,|lblValue=command     value|lblNullen=,  0000 |lblComma= , ",
    "frmToolPaper:-cmdActivatePunch=Activate punch|cmdPapeprStepsBack=Backward paper|"
    "cmdpaperSteps=Forward paper|txtPaperSteps|lblpapers=steps",
    "frmToolArm:-cmdArmtostart=Arm to startpos|-cmdArmCenter=Arm to center|"
    "cmdArmBackwards=Arm backwards|cmdArmForewards=Armforewards|txtArmBackwards|"
    "txtArmForewards|lblforestep=steps",
    "picSettings:frmComset=Serial communication|frmFormats=Format in use|txtXcal|txtYcal|"
    "chkRechts=Move roll on screen to right|chkMirror=Display in mirror image|"
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
                          "cbo:QComboBox cmb:QComboBox vsc:QScrollBar prg:QProgressBar"_s;
    for (const QString &kind : kinds.split(u' ')) {
        if (name.startsWith(kind.section(u':', 0, 0)))
            return kind.section(u':', 1).toLatin1();
    }
    return name.endsWith(u"Choice"_s) ? "QComboBox" : "?";
}

// The nearest named container above a control.
QString containerOf(const QWidget *control)
{
    for (const QWidget *w = control->parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const QMainWindow *>(w))
            return u"MainWindow"_s;
        for (const char *entries : Layout) {
            if (QLatin1String(entries).startsWith(w->objectName() + u':'))
                return w->objectName();
        }
    }
    return QString();
}

// The caption a user sees on a control.
QString captionOf(const QWidget *control)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    return QString();
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
    void init()
    {
        m_rig = std::make_unique<AppRig>();
        m_controls = m_rig->app.window.controlsPanel();
        m_rig->app.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_rig->app.window));
    }
    void cleanup() { m_rig.reset(); }

    void controls()
    {
        QStringList listed;
        for (const char *entries : Layout) {
            const QString container = QString::fromUtf8(entries).section(u':', 0, 0);
            for (const QString &text : QString::fromUtf8(entries).section(u':', 1).split(u'|')) {
                const QString name = text.section(u'=', 0, 0).remove(u'-').remove(u'~');
                listed << name;
                const QWidget *w = control(name);
                QVERIFY2(w, qPrintable(name + u": missing, or more than one of that name"_s));
                QVERIFY2(w->inherits(kindOf(name)), qPrintable(name));
                QCOMPARE(containerOf(w), container);
                if (text.contains(u'='))
                    QCOMPARE(captionOf(w), text.section(u'=', 1));
                QVERIFY2(w->isEnabled() != text.startsWith(u'-'), qPrintable(name));
                QVERIFY2(w->isHidden() == text.startsWith(u'~'), qPrintable(name));
            }
        }
        // Every named control, but the central widget and the menus, is listed,
        // found by assistive technology under its name and announced by some
        // name; labels and decorative shapes speak through their text alone.
        QStringList unlisted;
        for (QWidget *w : m_window->findChildren<QWidget *>()) {
            const QString name = w->objectName();
            if (name.isEmpty() || name.startsWith(u"qt_"_s) || qobject_cast<QMenu *>(w))
                continue;
            if (!listed.contains(name)) {
                unlisted << name;
                continue;
            }
            QCOMPARE(w->accessibleDescription(), name);
            if (!qobject_cast<const QLabel *>(w) && !name.startsWith(u"Shape"_s)) {
                QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
                QVERIFY(iface);
                QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(name));
            }
        }
        QCOMPARE(unlisted, QStringList{u"centralWidget"_s});
    }

    // Each list by its name: the current index, then its items.
    void choiceLists()
    {
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

    void startValues()
    {
        QCOMPARE(m_window->windowTitle(),
                 u"Velmora - Punch control program for serial port      version 3.5"_s);
        const velmora::SettingsPanel *settings = m_window->settingsPanel();
        QCOMPARE(settings->txtXcal->text() + settings->txtYcal->text(), u"10001000"_s);
        const QScrollBar *bar = m_window->controlsPanel()->vscNextNote;
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->value()}),
                 QList<int>({-1, 1, 0}));
        const QPlainTextEdit *log = m_window->controlsPanel()->txtLog;
        QVERIFY(log->isReadOnly() && log->toPlainText().isEmpty());

        const QList<velmora::Lamp *> lamps = m_window->findChildren<velmora::Lamp *>();
        QCOMPARE(lamps.size(), 12);
        for (const velmora::Lamp *lamp : lamps)
            QCOMPARE(lamp->color(), QColor(128, 128, 128));
        for (const QLineEdit *entry :
             {m_window->toolsPanel()->txtVal1, m_window->toolsPanel()->txtVal2})
            QCOMPARE(entry->palette().color(QPalette::Base), QColor(224, 224, 224));
    }

    void menus()
    {
        const auto texts = [](const QList<QAction *> &actions) {
            QStringList out;
            for (const QAction *action : actions)
                out << action->text();
            return out.join(u'|');
        };
        const QList<QAction *> top = m_window->menuBar()->actions();
        QCOMPARE(texts(top), u"    File    |Settings      |Tools    |  Help"_s);
        QCOMPARE(top[0]->menu(), m_window->mnuFile());
        QCOMPARE(top[1], m_window->mnuSet());
        QCOMPARE(top[2], m_window->mnuTest());
        QVERIFY(!top[1]->menu() && !top[2]->menu());
        QCOMPARE(top[3]->menu(), m_window->mnuHelp());
        QCOMPARE(texts(m_window->mnuFile()->actions()), u"Open|Exit"_s);
        QCOMPARE(texts(m_window->mnuHelp()->actions()), u"Nederlands|English"_s);

        for (const char *name : {"mnuFile", "mnuOpen", "mnuExit", "mnuSet", "mnuTest", "mnuHelp",
                                 "mnuHelpNL", "mnuHelpUK"})
            QCOMPARE(m_window->findChildren<QObject *>(QString::fromLatin1(name)).size(), 1);
    }

    void toolsPanelShiftsPreview()
    {
        QWidget *preview = control(u"picRol"_s);
        const QSize previewSize = preview->size();
        QCOMPARE(preview->x(), 0);

        m_window->setToolsPanelShown(true);
        const QWidget *tools = m_window->toolsPanel();
        QVERIFY(tools->isVisible());
        QCOMPARE(preview->x(), tools->width() / 2);
        QCOMPARE(preview->size(), previewSize);
        // The panel lies over the preview's top-left corner.
        QWidget *central = tools->parentWidget();
        const QWidget *hit = central->childAt(preview->mapTo(central, QPoint(4, 4)));
        QVERIFY(hit == tools || tools->isAncestorOf(hit));

        m_window->setToolsPanelShown(false);
        QVERIFY(tools->isHidden());
        QCOMPARE(preview->x(), 0);
        QCOMPARE(preview->size(), previewSize);
    }

    void resizingResizesPreview()
    {
        QWidget *preview = control(u"picRol"_s);
        const QWidget *controls = m_window->controlsPanel();
        const QWidget *status = m_window->statusPanel();
        QSignalSpy resized(m_window->rollView(), &velmora::RollView::resized);
        const QSize before = preview->size();
        const QSize controlsSize = controls->size();

        m_window->resize(m_window->size() + QSize(40, 30));
        QTRY_COMPARE(preview->size(), before + QSize(40, 30));
        QVERIFY(!resized.isEmpty());
        QCOMPARE(resized.last().first().toSize(), preview->size());

        // The frames keep their size, stand below the preview and share a height.
        QCOMPARE(controls->size(), controlsSize);
        QCOMPARE(status->height(), controls->height());
        QCOMPARE(status->y(), controls->y());
        QVERIFY(controls->y() >=
                preview->mapTo(controls->parentWidget(), QPoint(0, preview->height())).y());
        QVERIFY(status->x() >= controls->geometry().right());

        // The stop question appears just under Start, at its left.
        const auto *panel = m_window->controlsPanel();
        QCOMPARE(panel->picStop->x(), panel->cmdStart->x());
        QVERIFY(panel->picStop->y() > panel->cmdStart->geometry().bottom());
    }

    void initialWindowSize_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("controls");
        QTest::addColumn<int>("toolsHeight");
        QTest::addColumn<QSize>("expected");

        // The status frame is 250 wide throughout.
        const QSize controls(300, 240);
        QTest::newRow("651 wide") << QSize(651, 1080) << QSize(651, 1080) << controls << 370
                                  << QSize(560, 668);
        QTest::newRow("650 wide: main controls only")
            << QSize(650, 1080) << QSize(650, 1080) << controls << 370 << QSize(310, 668);
        QTest::newRow("narrow available part")
            << QSize(1920, 1080) << QSize(400, 1080) << controls << 370 << QSize(400, 668);
        QTest::newRow("491 high") << QSize(1366, 491) << QSize(1366, 491) << QSize(300, 100) << 100
                                  << QSize(560, 258);
        QTest::newRow("490 high: all it has")
            << QSize(1366, 490) << QSize(1366, 490) << QSize(300, 100) << 100 << QSize(560, 458);
        QTest::newRow("rule higher than the screen")
            << QSize(1366, 600) << QSize(1366, 560) << controls << 370 << QSize(560, 528);
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

    void startUpState()
    {
        QVERIFY(!m_rig->port.isOpen());
        const RollView *view = m_rig->app.window.rollView();
        QCOMPARE(view->shapes(),
                 emptyRollShapes(view->innerSize().width(), view->innerSize().height()));
    }

    void opening()
    {
        // A roll accepted after an accepted one, then one refused after it.
        for (const QString &path :
             {samplePath("wals-in-g-45.prt"), QStringLiteral(VELMORA_SOURCE_DIR "/README.prt")}) {
            const bool accepted = path.endsWith(u"45.prt"_s);
            m_rig->open(samplePath("wals-in-g-45.prt"));
            m_rig->open(path);
            QCOMPARE(m_rig->app.core.opener.fileLoaded(), accepted);
            // The label shows the opener's text with its line ends as the platform's.
            QLabel *label = m_controls->lblOpened;
            QCOMPARE(label->text(), m_rig->app.core.opener.labelText().replace(u"\r\n"_s, u"\n"_s));
            QVERIFY(label->text().startsWith(accepted ? u"Wals in G\n"_s : u"Error"_s));
            QCOMPARE(label->palette().color(QPalette::Window),
                     accepted ? QColor(200, 200, 200) : QColor(0, 255, 255));
            QCOMPARE(m_rig->app.window.rollView()->shapes().size() > 1, accepted);
            QCOMPARE(m_controls->txtNextNote->text(), u"1"_s);
            // The port is still closed, so Start stays off.
            QVERIFY(!m_controls->cmdStart->isEnabled());
        }
    }

    void nextNoteControls()
    {
        // Enter past the end, then the upper arrow from a typed note.
        QLineEdit *entry = m_controls->txtNextNote;
        m_rig->open(samplePath("wals-in-g-45.prt"));
        entry->setText(u"999"_s);
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(entry->text(), u" 473"_s);
        QCOMPARE(m_rig->app.core.nextNote.value(), 473);

        m_rig->open(samplePath("wals-in-g-45.prt"));
        entry->setText(u"3"_s);
        m_controls->vscNextNote->setValue(-1);
        QCOMPARE(m_controls->vscNextNote->value(), 0);
        QCOMPARE(entry->text(), u" 4"_s);
        QCOMPARE(m_rig->app.core.nextNote.value(), 4);
    }

    void logViewFollowsLog()
    {
        Logbook &log = m_rig->app.core.log;
        for (int i = 0; i < 800; ++i)
            log.writeLog(u"line %1"_s.arg(i), u"s"_s);
        QVERIFY(log.text().size() <= Logbook::Bound + 20);
        QCOMPARE(m_controls->txtLog->toPlainText(), logViewText(log.text()));
    }

    void closeWhileIdle()
    {
        QVERIFY(m_rig->app.window.close());
        QVERIFY(!m_rig->app.window.isVisible());
    }

private:
    QWidget *control(const QString &name) const
    {
        const QList<QWidget *> found = m_window->findChildren<QWidget *>(name);
        return found.size() == 1 ? found.first() : nullptr;
    }

    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<AppRig> m_rig;
    JobControlsPanel *m_controls = nullptr;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
