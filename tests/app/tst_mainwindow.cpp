#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
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

using namespace Qt::StringLiterals;

namespace {

// Parent of a control: the nearest named container above it, or "MainWindow"
// for the window's own controls.
const QStringList Containers = {u"picTools"_s,    u"frmCommands"_s,  u"frmToolPaper"_s,
                                u"frmToolArm"_s,  u"picSettings"_s,  u"frmComset"_s,
                                u"frmFormats"_s,  u"frmNewFormat"_s, u"frmStatus"_s,
                                u"frmControls"_s, u"picStop"_s,      u"picRol"_s};

QString containerOf(const QWidget *control)
{
    for (const QWidget *w = control->parentWidget(); w; w = w->parentWidget()) {
        if (Containers.contains(w->objectName()))
            return w->objectName();
        if (qobject_cast<const QMainWindow *>(w))
            return u"MainWindow"_s;
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

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void containment_data();
    void containment();
    void initialStates_data();
    void initialStates();
    void choiceLists_data();
    void choiceLists();
    void startValues();
    void menus();
    void toolsPanelShiftsPreview();
    void resizingResizesPreview();
    void initialWindowSize_data();
    void initialWindowSize();

private:
    QWidget *control(const QString &name) const;

    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::initTestCase()
{
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QWidget *TestMainWindow::control(const QString &name) const
{
    const QList<QWidget *> found = m_window->findChildren<QWidget *>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

// Every control: its container, its kind and, after "=", its caption.
void TestMainWindow::containment_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("entry");
    const auto rows = [](const char *container, const QByteArray &kind,
                         std::initializer_list<const char *> entries) {
        for (const char *entry : entries) {
            const QString text = QString::fromUtf8(entry);
            QTest::newRow(qPrintable(text.section(u'=', 0, 0)))
                << QString::fromLatin1(container) << kind << text;
        }
    };
    const QByteArray button = "QPushButton", label = "QLabel", entry = "QLineEdit",
                     list = "QComboBox", check = "QCheckBox", frame = "QGroupBox",
                     lamp = "velmora::Lamp", shape = "QFrame";

    rows("MainWindow", "velmora::ToolsPanel", {"picTools"});
    rows("MainWindow", "velmora::SettingsPanel", {"picSettings"});
    rows("MainWindow", "velmora::RollView", {"picRol"});
    rows("MainWindow", frame, {"frmStatus", "frmControls"});
    rows("MainWindow", button, {"cmdDummy"});

    rows("picTools", frame,
         {"frmCommands=Adjustcommand for the PIC", "frmToolPaper", "frmToolArm"});
    rows("picTools", button, {"cmdToolsExit=Exit"});
    rows("picTools", label, {"lblZelvoor=Test tools for the Zelvoor interface"});
    rows("picTools", shape, {"Shape2"});
    rows("frmCommands", entry, {"txtVal1", "txtVal2"});
    rows("frmCommands", button, {"cmdSubmitmanual=Send command", "cmdShowSettings=Show settings"});
    rows("frmCommands", label,
         {"lblNumteken=# ,", "lblValue=command     value", "lblNullen=,  0000 ", "lblComma= , "});
    rows("frmToolPaper", button,
         {"cmdActivatePunch=Activate punch", "cmdPapeprStepsBack=Backward paper",
          "cmdpaperSteps=Forward paper"});
    rows("frmToolPaper", entry, {"txtPaperSteps"});
    rows("frmToolPaper", label, {"lblpapers=steps"});
    rows("frmToolArm", button,
         {"cmdArmtostart=Arm to startpos", "cmdArmCenter=Arm to center",
          "cmdArmBackwards=Arm backwards", "cmdArmForewards=Armforewards"});
    rows("frmToolArm", entry, {"txtArmBackwards", "txtArmForewards"});
    rows("frmToolArm", label, {"lblforestep=steps"});

    rows("picSettings", frame, {"frmComset=Serial communication", "frmFormats=Format in use"});
    rows("picSettings", entry, {"txtXcal", "txtYcal"});
    rows("picSettings", check,
         {"chkRechts=Move roll on screen to right", "chkMirror=Display in mirror image"});
    rows("picSettings", button, {"cmdSettingsExit=Exit"});
    rows("picSettings", label, {"lblXcal=X-calibration (paper)", "lblYcal=Y-calibration (arm)"});
    rows("picSettings", shape, {"Shape1"});
    rows("frmComset", list,
         {"stopBitChoice", "baudChoice", "parityChoice", "dataBitChoice", "portChoice"});
    rows("frmComset", button, {"cmdConStd=Standard values"});
    rows("frmComset", check, {"chkDTR=force on", "chkRTS=force on"});
    rows("frmComset", lamp,
         {"shpRTS", "shpDTR", "shpRI", "shpCD", "shpCTS", "shpDSR", "shpXon", "shpXoff"});
    rows("frmComset", label,
         {"lblPort", "lblDatabits", "lblParity", "lblBaud", "lblStopbits", "lblCTS=CTS",
          "lblDSR=DSR", "lblCD=CD", "lblRI=RI", "lblDTR=DTR", "lblRTS=RTS", "lblXon=Xon",
          "lblXoff=Xoff", "lblOutgo=outgoing signals", "lblInco=incoming signals"});
    rows("frmFormats", list, {"cboFormats"});
    rows("frmFormats", button, {"cmdFormat=Edit user format"});
    rows("frmFormats", frame, {"frmNewFormat=User format"});
    rows("frmFormats", label, {"lblSelectformat=Select format", "lblFormat"});
    rows("frmNewFormat", button,
         {"cmdNewFormatOK=OK", "cmdAdd=Add field to format", "cmdStore1=Store format",
          "cmdRemove=Remove last field"});
    rows("frmNewFormat", list, {"cmbVeld", "cmblengte"});
    rows("frmNewFormat", label, {"lblNF=", "lblVeld=Field", "lblLen=Field length (output)"});

    rows("frmStatus", label, {"lblStatus"});
    rows("frmControls", button,
         {"cmdOpenport=Open port", "cmdStop=Stop", "cmdExit=Exit", "cmdStart=Start",
          "cmdPause=Pause", "cmdResume=Resume", "cmd1Note=1 punch"});
    rows("frmControls", shape, {"picStop"});
    rows("frmControls", "QScrollBar", {"vscNextNote"});
    rows("frmControls", entry, {"txtNextNote"});
    rows("frmControls", "QPlainTextEdit", {"txtLog"});
    rows("frmControls", lamp, {"shpOpen", "shpXoffc", "shpXonc", "shpCTSc"});
    rows("frmControls", label,
         {"Label1", "lblXoffc=Xoff", "lblXonc=Xon", "lblCTSc=CTS", "lblRemain=Remaining time",
          "lblOpened", "lblStartrec=Next note is:"});
    rows("picStop", button, {"cmdStopYes=Yes", "cmdStopNo=No"});
    rows("picStop", label, {"lblStop=Really stop?"});
}

void TestMainWindow::containment()
{
    QFETCH(QString, container);
    QFETCH(QByteArray, kind);
    QFETCH(QString, entry);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    QWidget *w = control(name);
    QVERIFY2(w, "missing, or more than one control of that name");
    QVERIFY2(w->inherits(kind.constData()), w->metaObject()->className());
    QCOMPARE(containerOf(w), container);
    if (entry.contains(u'='))
        QCOMPARE(captionOf(w), entry.section(u'=', 1));

    // Found by assistive technology under its control name.
    QCOMPARE(w->accessibleDescription(), name);
    // Everything a user can operate or read is announced by some name;
    // labels and decorative shapes speak through their text alone.
    if (!qobject_cast<QLabel *>(w) && !name.startsWith(u"Shape"_s)) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), "no accessible name");
    }
}

void TestMainWindow::initialStates_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hidden");
    const auto rows = [](bool enabled, bool hidden, std::initializer_list<const char *> names) {
        for (const char *name : names)
            QTest::newRow(name) << enabled << hidden;
    };
    rows(false, false,
         {"cmdStart", "cmdPause", "cmdResume", "cmd1Note", "cmdStop", "cmdShowSettings",
          "cmdArmtostart", "cmdArmCenter", "cmdActivatePunch", "cmdSubmitmanual"});
    rows(true, false,
         {"cmdExit", "cmdOpenport", "cmdArmForewards", "cmdArmBackwards", "cmdpaperSteps",
          "cmdPapeprStepsBack", "txtNextNote", "vscNextNote"});
    rows(true, true, {"picStop", "picSettings", "picTools", "frmNewFormat", "Label1"});
}

void TestMainWindow::initialStates()
{
    QFETCH(bool, enabled);
    QFETCH(bool, hidden);
    QWidget *w = control(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(w->isEnabled(), enabled);
    QCOMPARE(w->isHidden(), hidden);
}

void TestMainWindow::choiceLists_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("index");
    QTest::newRow("portChoice") << u"COM1|COM2|COM3|COM4|COM5|COM6"_s << 0;
    QTest::newRow("baudChoice") << u"300|600|1200|2400|4800|9600|19200|38400|57600|115200"_s << 4;
    QTest::newRow("parityChoice") << u"None|Even|Odd"_s << 0;
    QTest::newRow("dataBitChoice") << u"7|8"_s << 1;
    QTest::newRow("stopBitChoice") << u"1|2"_s << 0;
    QTest::newRow("cboFormats") << u"User format|Zelvoor|Zelvoor2 (tweezijdig transport)"_s << -1;
}

void TestMainWindow::choiceLists()
{
    QFETCH(QString, items);
    QFETCH(int, index);
    auto *list = qobject_cast<QComboBox *>(control(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(list);
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    QCOMPARE(texts.join(u'|'), items);
    QCOMPARE(list->currentIndex(), index);
    QVERIFY(!list->isEditable());
}

void TestMainWindow::startValues()
{
    QCOMPARE(m_window->windowTitle(),
             u"Velmora - Punch control program for serial port      version 3.5"_s);
    for (const char *name : {"picRol", "frmControls", "frmStatus", "txtLog", "lblOpened"})
        QVERIFY2(control(QString::fromLatin1(name))->isVisible(), name);

    const velmora::SettingsPanel *settings = m_window->settingsPanel();
    QCOMPARE(settings->txtXcal->text() + settings->txtYcal->text(), u"10001000"_s);
    const QScrollBar *bar = m_window->controlsPanel()->vscNextNote;
    QCOMPARE(bar->orientation(), Qt::Vertical);
    QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->value()}), QList<int>({-1, 1, 0}));
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

void TestMainWindow::menus()
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

void TestMainWindow::toolsPanelShiftsPreview()
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

void TestMainWindow::resizingResizesPreview()
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

void TestMainWindow::initialWindowSize_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("available");
    QTest::addColumn<QSize>("controls");
    QTest::addColumn<int>("toolsHeight");
    QTest::addColumn<QSize>("expected");

    // The status frame is 250 wide throughout.
    const QSize controls(300, 240);
    QTest::newRow("large screen") << QSize(1920, 1080) << QSize(1920, 1040) << controls << 370
                                  << QSize(560, 668);
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

void TestMainWindow::initialWindowSize()
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
