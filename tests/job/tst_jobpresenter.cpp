#include "app/application.h"
#include "app/lamp.h"
#include "job/jobcontrolspanel.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "settings/settingspanel.h"
#include "tests/support/fakeserialport.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;

namespace {

class ScriptedChooser : public FileChooser
{
public:
    QString path;
    void choosePrtFile(const QString &, std::function<void(FileChoice)> done) override
    {
        done({FileChoice::Chosen, path, {}});
    }
};

} // namespace

// The job's buttons, menus, stop question, lamps and label in the window,
// driven by clicks, with the port and the clock played by the test.
class TestJobPresenter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonsFollowTheJob();

private:
    // The enabled job controls by name, in a fixed order.
    QString enabled() const;
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir m_settingsDir;
    VirtualClock m_clock{1000000};
    FakeSerialPort m_port;
    ScriptedChooser m_chooser;
    std::unique_ptr<Application> m_app;
    JobControlsPanel *m_controls = nullptr;
};

void TestJobPresenter::init()
{
    m_app = std::make_unique<Application>(
        AppServices{m_clock, m_port, m_chooser, QStringLiteral(VELMORA_SOURCE_DIR "/help/"),
                    m_settingsDir.path() + QLatin1Char('/'), [] {
                        return QList<PresentPort>{{QStringLiteral("/dev/ttyUSB0"), true}};
                    }});
    m_controls = m_app->window.controlsPanel();
    m_app->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_app->window));
}

void TestJobPresenter::cleanup()
{
    m_app.reset();
}

QString TestJobPresenter::enabled() const
{
    const JobControlsPanel *c = m_controls;
    const MainWindow &w = m_app->window;
    const std::pair<bool, const char *> flags[] = {
        {c->cmdStart->isEnabled(), "start"},       {c->cmdPause->isEnabled(), "pause"},
        {c->cmdResume->isEnabled(), "resume"},     {c->cmd1Note->isEnabled(), "1punch"},
        {c->cmdStop->isEnabled(), "stop"},         {c->cmdExit->isEnabled(), "exit"},
        {c->cmdOpenport->isEnabled(), "openport"}, {w.mnuFile()->menuAction()->isEnabled(), "file"},
        {w.mnuSet()->isEnabled(), "settings"},     {w.mnuTest()->isEnabled(), "tools"},
        {!c->picStop->isHidden(), "picStop"}};
    QStringList on;
    for (const auto &[flag, name] : flags) {
        if (flag)
            on << QLatin1String(name);
    }
    return on.join(QLatin1Char(' '));
}

void TestJobPresenter::buttonsFollowTheJob()
{
    m_chooser.path = QStringLiteral(VELMORA_SOURCE_DIR "/samples/wals-in-g-45.prt");
    m_app->window.mnuOpen()->trigger();
    QVERIFY(m_app->core.opener.fileLoaded());
    QCOMPARE(enabled(), QStringLiteral("exit openport file settings tools"));
    m_port.setCts(true);
    click(m_controls->cmdOpenport);
    QVERIFY(m_port.isOpen());
    QCOMPARE(enabled(), QStringLiteral("start exit openport file settings tools"));
    m_port.receive(QByteArray(1, char(17))); // Xon: the Xon lamps light
    QVERIFY(m_controls->shpXonc->color() != QColor(150, 150, 150));

    click(m_controls->cmdStart);
    QCOMPARE(enabled(), QStringLiteral("resume 1punch stop tools"));
    const QColor grey(150, 150, 150);
    const SettingsPanel *settings = m_app->window.settingsPanel();
    for (const Lamp *lamp :
         {settings->shpXon, m_controls->shpXonc, settings->shpXoff, m_controls->shpXoffc})
        QCOMPARE(lamp->color(), grey);
    QCOMPARE(m_controls->lblRemain->text(), QString());

    m_port.clearWritten();
    click(m_controls->cmdResume);
    QCOMPARE(enabled(), QStringLiteral("stop tools"));
    m_clock.advance(200);
    QCOMPARE(m_port.written(), m_app->core.composer.ComposeHoleCommand(1).text.toLatin1() + '\r');
    QCOMPARE(m_controls->txtNextNote->text(), QStringLiteral(" 2"));
    QCOMPARE(enabled(), QStringLiteral("pause stop tools"));

    click(m_controls->cmdPause);
    QCOMPARE(enabled(), QStringLiteral("resume 1punch stop tools"));
    m_clock.advance(200);
    QCOMPARE(m_port.writes().size(), 2); // the hole on its way went out
    QVERIFY(m_controls->txtLog->toPlainText().endsWith(
        QStringLiteral("Pause, press resume to continue\n")));

    click(m_controls->cmdStop);
    QCOMPARE(enabled(), QStringLiteral("resume 1punch stop tools picStop"));
    click(m_controls->cmdStopNo);
    QCOMPARE(enabled(), QStringLiteral("resume 1punch stop tools"));
    click(m_controls->cmdStop);
    click(m_controls->cmdStopYes);
    QCOMPARE(enabled(), QStringLiteral("start exit openport file settings tools"));
    QCOMPARE(m_controls->lblRemain->text(), QStringLiteral("Punching stopped"));
    QCOMPARE(m_controls->txtNextNote->text(), QStringLiteral(" 1"));
    QVERIFY(m_controls->txtLog->toPlainText().contains(
        QStringLiteral("Punching stopped by stop-button, last note punched: 2\n")));
    QVERIFY(m_app->window.close());
}

QTEST_MAIN(TestJobPresenter)
#include "tst_jobpresenter.moc"
