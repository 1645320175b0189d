#include "app/lamp.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tools/toolspanel.h"

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
        if (Containers.contains(w->objectName())) {
            return w->objectName();
        }
        if (qobject_cast<const QMainWindow *>(w)) {
            return u"MainWindow"_s;
        }
    }
    return QString();
}

// The caption a user sees on a control, or a null text for a control without one.
QString captionOf(const QWidget *control)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(control)) {
        return button->text();
    }
    if (auto *label = qobject_cast<const QLabel *>(control)) {
        return label->text();
    }
    if (auto *frame = qobject_cast<const QGroupBox *>(control)) {
        return frame->title();
    }
    return QString();
}

QStringList itemsOf(const QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

QStringList textsOf(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions) {
        texts << action->text();
    }
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void containment_data();
    void containment();
    void initialStates_data();
    void initialStates();
    void formatEntries();
    void portChoices_data();
    void portChoices();
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

void TestMainWindow::cleanupTestCase()
{
    m_window.reset();
}

QWidget *TestMainWindow::control(const QString &name) const
{
    const QList<QWidget *> found = m_window->findChildren<QWidget *>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

void TestMainWindow::containment_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QByteArray>("kind");
    // The caption the window shows; a null text where none is prescribed.
    QTest::addColumn<QString>("caption");

    const QByteArray button = "QPushButton";
    const QByteArray label = "QLabel";
    const QByteArray entry = "QLineEdit";
    const QByteArray list = "QComboBox";
    const QByteArray check = "QCheckBox";
    const QByteArray frame = "QGroupBox";
    const QByteArray lamp = "velmora::Lamp";
    const QString none;
    auto row = [](const char *name, const QString &container, const QByteArray &kind,
                  const QString &caption) { QTest::newRow(name) << container << kind << caption; };

    const QString main = u"MainWindow"_s;
    row("picTools", main, "velmora::ToolsPanel", none);
    row("picSettings", main, "velmora::SettingsPanel", none);
    row("frmStatus", main, frame, none);
    row("frmControls", main, frame, none);
    row("cmdDummy", main, button, none);
    row("picRol", main, "velmora::RollView", none);

    const QString tools = u"picTools"_s;
    row("frmCommands", tools, frame, u"Adjustcommand for the PIC"_s);
    row("frmToolPaper", tools, frame, none);
    row("frmToolArm", tools, frame, none);
    row("cmdToolsExit", tools, button, u"Exit"_s);
    row("lblZelvoor", tools, label, u"Test tools for the Zelvoor interface"_s);
    row("Shape2", tools, "QFrame", none);

    const QString commands = u"frmCommands"_s;
    row("txtVal1", commands, entry, none);
    row("txtVal2", commands, entry, none);
    row("cmdSubmitmanual", commands, button, u"Send command"_s);
    row("cmdShowSettings", commands, button, u"Show settings"_s);
    row("lblNumteken", commands, label, u"# ,"_s);
    row("lblValue", commands, label, u"command     value"_s);
    row("lblNullen", commands, label, u",  0000 "_s);
    row("lblComma", commands, label, u" , "_s);

    const QString paper = u"frmToolPaper"_s;
    row("cmdActivatePunch", paper, button, u"Activate punch"_s);
    row("cmdPapeprStepsBack", paper, button, u"Backward paper"_s);
    row("txtPaperSteps", paper, entry, none);
    row("cmdpaperSteps", paper, button, u"Forward paper"_s);
    row("lblpapers", paper, label, u"steps"_s);

    const QString arm = u"frmToolArm"_s;
    row("cmdArmtostart", arm, button, u"Arm to startpos"_s);
    row("cmdArmCenter", arm, button, u"Arm to center"_s);
    row("txtArmBackwards", arm, entry, none);
    row("txtArmForewards", arm, entry, none);
    row("cmdArmBackwards", arm, button, u"Arm backwards"_s);
    row("cmdArmForewards", arm, button, u"Armforewards"_s);
    row("lblforestep", arm, label, u"steps"_s);

    const QString settings = u"picSettings"_s;
    row("frmComset", settings, frame, u"Serial communication"_s);
    row("frmFormats", settings, frame, u"Format in use"_s);
    row("txtXcal", settings, entry, none);
    row("txtYcal", settings, entry, none);
    row("chkRechts", settings, check, u"Move roll on screen to right"_s);
    row("chkMirror", settings, check, u"Display in mirror image"_s);
    row("cmdSettingsExit", settings, button, u"Exit"_s);
    row("lblXcal", settings, label, u"X-calibration (paper)"_s);
    row("lblYcal", settings, label, u"Y-calibration (arm)"_s);
    row("Shape1", settings, "QFrame", none);

    const QString comset = u"frmComset"_s;
    row("stopBitChoice", comset, list, none);
    row("baudChoice", comset, list, none);
    row("parityChoice", comset, list, none);
    row("dataBitChoice", comset, list, none);
    row("portChoice", comset, list, none);
    row("cmdConStd", comset, button, u"Standard values"_s);
    row("chkDTR", comset, check, u"force on"_s);
    row("chkRTS", comset, check, u"force on"_s);
    row("lblPort", comset, label, none);
    row("lblDatabits", comset, label, none);
    row("lblParity", comset, label, none);
    row("lblBaud", comset, label, none);
    row("lblStopbits", comset, label, none);
    for (const char *name :
         {"shpRTS", "shpDTR", "shpRI", "shpCD", "shpCTS", "shpDSR", "shpXon", "shpXoff"}) {
        row(name, comset, lamp, none);
    }
    row("lblCTS", comset, label, u"CTS"_s);
    row("lblDSR", comset, label, u"DSR"_s);
    row("lblCD", comset, label, u"CD"_s);
    row("lblRI", comset, label, u"RI"_s);
    row("lblDTR", comset, label, u"DTR"_s);
    row("lblRTS", comset, label, u"RTS"_s);
    row("lblXon", comset, label, u"Xon"_s);
    row("lblXoff", comset, label, u"Xoff"_s);
    row("lblOutgo", comset, label, u"outgoing signals"_s);
    row("lblInco", comset, label, u"incoming signals"_s);

    const QString formats = u"frmFormats"_s;
    row("cboFormats", formats, list, none);
    row("cmdFormat", formats, button, u"Edit user format"_s);
    row("frmNewFormat", formats, frame, u"User format"_s);
    row("lblSelectformat", formats, label, u"Select format"_s);
    row("lblFormat", formats, label, none);

    const QString editor = u"frmNewFormat"_s;
    row("cmdNewFormatOK", editor, button, u"OK"_s);
    row("cmbVeld", editor, list, none);
    row("cmblengte", editor, list, none);
    row("cmdAdd", editor, button, u"Add field to format"_s);
    row("cmdStore1", editor, button, u"Store format"_s);
    row("cmdRemove", editor, button, u"Remove last field"_s);
    row("lblNF", editor, label, u""_s);
    row("lblVeld", editor, label, u"Field"_s);
    row("lblLen", editor, label, u"Field length (output)"_s);

    row("lblStatus", u"frmStatus"_s, label, none);

    const QString controls = u"frmControls"_s;
    row("cmdOpenport", controls, button, u"Open port"_s);
    row("picStop", controls, "QFrame", none);
    row("vscNextNote", controls, "QScrollBar", none);
    row("txtNextNote", controls, entry, none);
    row("cmdStop", controls, button, u"Stop"_s);
    row("cmdExit", controls, button, u"Exit"_s);
    row("txtLog", controls, "QPlainTextEdit", none);
    row("cmdStart", controls, button, u"Start"_s);
    row("cmdPause", controls, button, u"Pause"_s);
    row("cmdResume", controls, button, u"Resume"_s);
    row("cmd1Note", controls, button, u"1 punch"_s);
    row("Label1", controls, label, none);
    for (const char *name : {"shpOpen", "shpXoffc", "shpXonc", "shpCTSc"}) {
        row(name, controls, lamp, none);
    }
    row("lblXoffc", controls, label, u"Xoff"_s);
    row("lblXonc", controls, label, u"Xon"_s);
    row("lblCTSc", controls, label, u"CTS"_s);
    row("lblRemain", controls, label, u"Remaining time"_s);
    row("lblOpened", controls, label, none);
    row("lblStartrec", controls, label, u"Next note is:"_s);

    const QString stop = u"picStop"_s;
    row("cmdStopYes", stop, button, u"Yes"_s);
    row("cmdStopNo", stop, button, u"No"_s);
    row("lblStop", stop, label, u"Really stop?"_s);
}

void TestMainWindow::containment()
{
    QFETCH(QString, container);
    QFETCH(QByteArray, kind);
    QFETCH(QString, caption);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    QWidget *w = control(name);
    QVERIFY2(w, "missing, or more than one control of that name");
    QVERIFY2(w->inherits(kind.constData()), w->metaObject()->className());
    QCOMPARE(containerOf(w), container);
    if (!caption.isNull()) {
        QCOMPARE(captionOf(w), caption);
    }

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

    for (const char *name :
         {"cmdStart", "cmdPause", "cmdResume", "cmd1Note", "cmdStop", "cmdShowSettings",
          "cmdArmtostart", "cmdArmCenter", "cmdActivatePunch", "cmdSubmitmanual"}) {
        QTest::newRow(name) << false << false;
    }
    for (const char *name : {"cmdExit", "cmdOpenport", "cmdArmForewards", "cmdArmBackwards",
                             "cmdpaperSteps", "cmdPapeprStepsBack", "txtNextNote", "vscNextNote"}) {
        QTest::newRow(name) << true << false;
    }
    for (const char *name : {"picStop", "picSettings", "picTools", "frmNewFormat", "Label1"}) {
        QTest::newRow(name) << true << true;
    }
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

void TestMainWindow::formatEntries()
{
    const QComboBox *formats = m_window->settingsPanel()->cboFormats;
    QCOMPARE(itemsOf(formats),
             QStringList({u"User format"_s, u"Zelvoor"_s, u"Zelvoor2 (tweezijdig transport)"_s}));
    QCOMPARE(formats->currentIndex(), -1);
}

void TestMainWindow::portChoices_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("index");
    QTest::newRow("portChoice") << QStringList{u"COM1"_s, u"COM2"_s, u"COM3"_s,
                                               u"COM4"_s, u"COM5"_s, u"COM6"_s}
                                << 0;
    QTest::newRow("baudChoice") << QStringList{u"300"_s,   u"600"_s,   u"1200"_s,  u"2400"_s,
                                               u"4800"_s,  u"9600"_s,  u"19200"_s, u"38400"_s,
                                               u"57600"_s, u"115200"_s}
                                << 4;
    QTest::newRow("parityChoice") << QStringList{u"None"_s, u"Even"_s, u"Odd"_s} << 0;
    QTest::newRow("dataBitChoice") << QStringList{u"7"_s, u"8"_s} << 1;
    QTest::newRow("stopBitChoice") << QStringList{u"1"_s, u"2"_s} << 0;
}

void TestMainWindow::portChoices()
{
    QFETCH(QStringList, items);
    QFETCH(int, index);
    auto *list = qobject_cast<QComboBox *>(control(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(list);
    QCOMPARE(itemsOf(list), items);
    QCOMPARE(list->currentIndex(), index);
    QVERIFY(!list->isEditable());
}

void TestMainWindow::startValues()
{
    QCOMPARE(m_window->windowTitle(),
             u"Velmora - Punch control program for serial port      version 3.5"_s);

    for (const char *name : {"picRol", "frmControls", "frmStatus", "txtLog", "lblOpened"}) {
        QVERIFY2(control(QString::fromLatin1(name))->isVisible(), name);
    }

    const velmora::SettingsPanel *settings = m_window->settingsPanel();
    QCOMPARE(settings->txtXcal->text(), u"1000"_s);
    QCOMPARE(settings->txtYcal->text(), u"1000"_s);

    const velmora::JobControlsPanel *controls = m_window->controlsPanel();
    QCOMPARE(controls->vscNextNote->orientation(), Qt::Vertical);
    QCOMPARE(controls->vscNextNote->minimum(), -1);
    QCOMPARE(controls->vscNextNote->maximum(), 1);
    QCOMPARE(controls->vscNextNote->value(), 0);
    QVERIFY(controls->txtLog->isReadOnly());
    QVERIFY(controls->txtLog->toPlainText().isEmpty());

    const QList<velmora::Lamp *> lamps = m_window->findChildren<velmora::Lamp *>();
    QCOMPARE(lamps.size(), 12);
    for (const velmora::Lamp *lamp : lamps) {
        QCOMPARE(lamp->color(), QColor(128, 128, 128));
    }

    const velmora::ToolsPanel *tools = m_window->toolsPanel();
    for (const QLineEdit *entry : {tools->txtVal1, tools->txtVal2}) {
        QCOMPARE(entry->palette().color(QPalette::Base), QColor(224, 224, 224));
    }
}

void TestMainWindow::menus()
{
    const QList<QAction *> top = m_window->menuBar()->actions();
    QCOMPARE(textsOf(top),
             QStringList({u"    File    "_s, u"Settings      "_s, u"Tools    "_s, u"  Help"_s}));
    QCOMPARE(top[0]->menu(), m_window->mnuFile());
    QCOMPARE(top[1], m_window->mnuSet());
    QVERIFY(!top[1]->menu());
    QCOMPARE(top[2], m_window->mnuTest());
    QVERIFY(!top[2]->menu());
    QCOMPARE(top[3]->menu(), m_window->mnuHelp());

    QCOMPARE(textsOf(m_window->mnuFile()->actions()), QStringList({u"Open"_s, u"Exit"_s}));
    QCOMPARE(textsOf(m_window->mnuHelp()->actions()), QStringList({u"Nederlands"_s, u"English"_s}));

    const std::pair<const char *, QObject *> named[] = {
        {"mnuFile", m_window->mnuFile()},     {"mnuOpen", m_window->mnuOpen()},
        {"mnuExit", m_window->mnuExit()},     {"mnuSet", m_window->mnuSet()},
        {"mnuTest", m_window->mnuTest()},     {"mnuHelp", m_window->mnuHelp()},
        {"mnuHelpNL", m_window->mnuHelpNL()}, {"mnuHelpUK", m_window->mnuHelpUK()}};
    for (const auto &[name, object] : named) {
        QCOMPARE(object->objectName(), QString::fromLatin1(name));
        QCOMPARE(m_window->findChildren<QObject *>(QString::fromLatin1(name)).size(), 1);
    }
    QCOMPARE(m_window->mnuOpen()->parent(), m_window->mnuFile());
    QCOMPARE(m_window->mnuHelpUK()->parent(), m_window->mnuHelp());
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
    QSignalSpy resized(m_window.get(), &MainWindow::rollViewResized);
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
