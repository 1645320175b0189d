#include "app/application.h"
#include "job/jobcontrolspanel.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"
#include "tests/support/fakeserialport.h"
#include "tools/toolspanel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;

namespace {

class ScriptedChooser : public FileChooser
{
public:
    QString path;
    FileChoice::Outcome outcome = FileChoice::Chosen;
    void choosePrtFile(const QString &, std::function<void(FileChoice)> done) override
    {
        done({outcome, path, {}});
    }
};

QString sample(const char *name)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/samples/") + QLatin1String(name);
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpState();
    void openingAcceptedRoll();
    void openingRefusedRoll();
    void nextNoteControls_data();
    void nextNoteControls();
    void logViewFollowsLog();
    void closeWhileIdle();

private:
    void open(const QString &path);

    VirtualClock m_clock;
    FakeSerialPort m_port;
    ScriptedChooser m_chooser;
    std::unique_ptr<Application> m_app;
    JobControlsPanel *m_controls = nullptr;
};

void TestApplication::init()
{
    m_app = std::make_unique<Application>(
        AppServices{m_clock, m_port, m_chooser, QStringLiteral(VELMORA_SOURCE_DIR "/help/"),
                    QDir::tempPath() + QLatin1Char('/'), [] { return QList<PresentPort>(); }});
    m_controls = m_app->window.controlsPanel();
    m_app->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_app->window));
}

void TestApplication::cleanup()
{
    m_app.reset();
}

void TestApplication::open(const QString &path)
{
    m_chooser.path = path;
    m_app->window.mnuOpen()->trigger();
}

void TestApplication::startUpState()
{
    QVERIFY(!m_port.isOpen());
    for (QPushButton *button : {m_controls->cmdStart, m_controls->cmdPause, m_controls->cmdResume,
                                m_controls->cmd1Note, m_controls->cmdStop})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    QVERIFY(m_controls->cmdExit->isEnabled());
    QVERIFY(m_app->window.settingsPanel()->isHidden());
    QVERIFY(m_app->window.toolsPanel()->isHidden());
    // Without stored settings the built-in Zelvoor format is current.
    QCOMPARE(m_app->core.formats.selectedFormat(), 1);
    const RollView *view = m_app->window.rollView();
    QCOMPARE(view->shapes(),
             EmptyRollShapes(view->innerSize().width(), view->innerSize().height()));
}

void TestApplication::openingAcceptedRoll()
{
    open(sample("wals-in-g-45.prt"));
    QVERIFY(m_app->core.opener.fileLoaded());
    QLabel *label = m_controls->lblOpened;
    QCOMPARE(label->text(), QStringLiteral("Wals in G\nGamma:    Orgel45  -  NTYPE   P\n"
                                           "Paper width: 203,0 mm\nRoll length:    4,42 m\n"
                                           "Holes to punch: 473\n"));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(200, 200, 200));
    QCOMPARE(m_controls->txtNextNote->text(), QStringLiteral("1"));
    QVERIFY(m_app->window.rollView()->shapes().size() > 1);
    // The port is still closed, so Start stays off.
    QVERIFY(!m_controls->cmdStart->isEnabled());
}

void TestApplication::openingRefusedRoll()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.prt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("NTYP        S\r\nPONS      1\r\n");
    file.close();
    open(sample("wals-in-g-45.prt"));
    open(path);
    QVERIFY(!m_app->core.opener.fileLoaded());
    QCOMPARE(m_controls->lblOpened->text(),
             QStringLiteral("PRT-file has NTYPE S but does not have NOOT-statements.\n\n"
                            "Check if file is created corectly by Arpenta.\n"));
    QCOMPARE(m_controls->lblOpened->palette().color(QPalette::Window), QColor(0, 255, 255));
    QCOMPARE(m_app->window.rollView()->shapes().size(), std::size_t(1));
}

void TestApplication::nextNoteControls_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("step"); // 0: Enter, -1: upper arrow, +1: lower arrow
    QTest::addColumn<QString>("shown");
    QTest::newRow("enter past the end") << QStringLiteral("999") << 0 << QStringLiteral(" 473");
    QTest::newRow("enter text") << QStringLiteral("abc") << 0 << QStringLiteral(" 1");
    QTest::newRow("enter half") << QStringLiteral("2.5") << 0 << QStringLiteral(" 2");
    QTest::newRow("up from typed") << QStringLiteral("3") << -1 << QStringLiteral(" 4");
    QTest::newRow("down from typed") << QStringLiteral("3") << 1 << QStringLiteral(" 2");
    QTest::newRow("down at the start") << QStringLiteral("1") << 1 << QStringLiteral(" 1");
}

void TestApplication::nextNoteControls()
{
    QFETCH(QString, typed);
    QFETCH(int, step);
    QFETCH(QString, shown);
    open(sample("wals-in-g-45.prt"));
    QLineEdit *entry = m_controls->txtNextNote;
    entry->setText(typed);
    if (step == 0) {
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_Return);
    } else {
        m_controls->vscNextNote->setValue(step);
        QCOMPARE(m_controls->vscNextNote->value(), 0);
    }
    QCOMPARE(entry->text(), shown);
    QCOMPARE(m_app->core.nextNote.value(), shown.trimmed().toInt());
}

void TestApplication::logViewFollowsLog()
{
    for (int i = 0; i < 800; ++i)
        m_app->core.log.WriteLog(QStringLiteral("line %1").arg(i), QStringLiteral("s"));
    QVERIFY(m_app->core.log.text().size() <= Logbook::Bound + 20);
    QCOMPARE(m_controls->txtLog->toPlainText(), LogViewText(m_app->core.log.text()));
}

void TestApplication::closeWhileIdle()
{
    QVERIFY(m_app->window.close());
    QVERIFY(!m_app->window.isVisible());
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
