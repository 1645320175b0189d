#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"
#include "tests/support/apprig.h"
#include "widgetkit/lamp.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// The job's buttons, menus, stop question, lamps and label in the window,
// driven by clicks, with the port and the clock played by the test. Which
// controls each state of the job enables is the job's own test.
class TestJobPresenter : public QObject
{
    Q_OBJECT
private slots:
    void buttonsFollowTheJob();
};

void TestJobPresenter::buttonsFollowTheJob()
{
    AppRig rig({{u"/dev/ttyUSB0"_s, true}});
    MainWindow &w = rig.app.window;
    JobControlsPanel *c = w.controlsPanel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The enabled job controls by name, in a fixed order.
    const auto enabled = [&] {
        const std::pair<bool, const char *> flags[] = {
            {c->cmdStart->isEnabled(), "start"},
            {c->cmdPause->isEnabled(), "pause"},
            {c->cmdResume->isEnabled(), "resume"},
            {c->cmd1Note->isEnabled(), "1punch"},
            {c->cmdStop->isEnabled(), "stop"},
            {c->cmdExit->isEnabled(), "exit"},
            {c->cmdOpenport->isEnabled(), "openport"},
            {w.mnuFile()->menuAction()->isEnabled(), "file"},
            {w.mnuSet()->isEnabled(), "settings"},
            {w.mnuTest()->isEnabled(), "tools"},
            {!c->picStop->isHidden(), "picStop"}};
        QStringList on;
        for (const auto &[flag, name] : flags) {
            if (flag)
                on << QLatin1String(name);
        }
        return on.join(u' ');
    };
    const auto click = [](QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); };
    const QColor grey(150, 150, 150);

    rig.open(samplePath("wals-in-g-45.prt"));
    QCOMPARE(enabled(), u"exit openport file settings tools"_s);
    rig.port.setCts(true);
    click(c->cmdOpenport);
    QCOMPARE(enabled(), u"start exit openport file settings tools"_s);
    rig.port.receive("\x11"); // Xon: the Xon lamps light
    QVERIFY(c->shpXonc->color() != grey);

    // Start greys the flow lamps.
    click(c->cmdStart);
    QCOMPARE(enabled(), u"resume 1punch stop tools"_s);
    const SettingsPanel *settings = w.settingsPanel();
    for (const Lamp *lamp : {settings->shpXon, c->shpXonc, settings->shpXoff, c->shpXoffc})
        QCOMPARE(lamp->color(), grey);
    QCOMPARE(c->lblRemain->text(), QString());

    click(c->cmdResume);
    rig.clock.advance(200);
    QCOMPARE(rig.port.writes().size(), 1);
    QCOMPARE(c->txtNextNote->text(), u" 2"_s);

    click(c->cmdStop);
    QCOMPARE(enabled(), u"stop tools picStop"_s);
    rig.clock.advance(200);
    click(c->cmdStopYes);
    QCOMPARE(enabled(), u"start exit openport file settings tools"_s);
    QCOMPARE(c->lblRemain->text(), u"Punching stopped"_s);
    QVERIFY(w.close());
}

QTEST_MAIN(TestJobPresenter)
#include "tst_jobpresenter.moc"
