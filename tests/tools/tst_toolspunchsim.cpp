// End to end: the tools panel of the program, on the real clock and serial
// layer, against the punch-controller simulator on a pseudo-terminal, while a
// job punches.

#include "app/application.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"
#include "punchsim/punchcontroller.h"
#include "tests/support/testhelpers.h"
#include "tools/toolspanel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestToolsPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void toolLinesBetweenHoles();
};

void TestToolsPunchSim::toolLinesBetweenHoles()
{
    constexpr int Timeout = 20000;
    QTemporaryDir dir;
    PunchSimProcess sim;
    QVERIFY(!sim.start(QStringLiteral(VELMORA_PUNCHSIM),
                       {u"--map"_s, dir.filePath(u"ports.map"_s), u"--record"_s,
                        dir.filePath(u"record.txt"_s), u"--punch-ms"_s, u"40"_s, u"--quiet"_s,
                        u"--exit-after-idle"_s, u"120"_s})
                 .isEmpty());
    SystemClock clock;
    QtSerialPortDevice port;
    ScriptedChooser chooser;
    chooser.answer.path = samplePath("koraal-52.prt");
    Application app(AppServices{clock, port, chooser, dir.path() + u'/', dir.path() + u'/',
                                [] { return QList<PresentPort>(); }});
    app.core.opener.openPrtFile();

    // Tools opens the port; a job punches while every button is clicked.
    app.window.mnuTest()->trigger();
    QVERIFY2(app.core.portOpen(), qPrintable(app.core.log.text()));
    QTRY_VERIFY_WITH_TIMEOUT(app.core.commEvents.clearToSend(), Timeout);
    app.core.job.start();
    app.core.job.resume();
    ToolsPanel *tools = app.window.toolsPanel();
    tools->txtArmBackwards->setText(u"2.5"_s);
    tools->txtPaperSteps->setText(u"120"_s);
    tools->txtVal1->setText(u"3"_s);
    tools->txtVal2->setText(u"12345"_s);
    for (QPushButton *button :
         {tools->cmdArmForewards, tools->cmdArmBackwards, tools->cmdpaperSteps,
          tools->cmdArmtostart, tools->cmdArmCenter, tools->cmdActivatePunch,
          tools->cmdPapeprStepsBack, tools->cmdSubmitmanual, tools->cmdShowSettings}) {
        button->click();
        QTest::qWait(70);
    }
    QTRY_VERIFY_WITH_TIMEOUT(app.core.nextNote.value() > 3, Timeout);
    app.core.job.pause();
    QTRY_VERIFY_WITH_TIMEOUT(!app.core.job.punching(), Timeout);
    const int holes = app.core.nextNote.value() - 1;

    // Every line arrives whole, ended by the CR that completes it: the tool
    // lines in their order, the holes in theirs.
    const QList<QByteArray> toolLines{"#,0001,0050,0000", "#,0002,0002,0000",  "#,0003,0120,0000",
                                      "#,0004,0000,0000", "#,0005,0000,0000",  "#,0006,0000,0000",
                                      "#,0007,0120,0000", "#,0003,12345,0000", "#,0020,0000,0000"};
    QList<QByteArray> expected[2] = {toolLines, {}};
    for (int hole = 1; hole <= holes; ++hole)
        expected[1] << app.core.composer.composeHoleCommand(hole).text.toLatin1();
    QList<QByteArray> arrived[2];
    const auto record = [&] { return parseRecord(readFile(dir.filePath(u"record.txt"_s))); };
    QTRY_COMPARE_WITH_TIMEOUT(record().size(), holes + 9, Timeout);
    for (const RecordedLine &entry : record())
        arrived[entry.line.startsWith('#') ? 0 : 1] << entry.line;
    QCOMPARE(arrived[0], expected[0]);
    QCOMPARE(arrived[1], expected[1]);

    // The answer to "Show settings" is logged line by line.
    const QByteArray reply = PunchController(clock, {.punchMs = 40}, {}).settingsText();
    for (const QByteArray &line : reply.trimmed().split('\n'))
        QTRY_VERIFY_WITH_TIMEOUT(
            app.core.log.text().contains(u"Recvd: "_s + QLatin1String(line.trimmed()) + u"\r\n"_s),
            Timeout);
    app.core.job.requestStop();
    app.core.job.confirmStop();
}

QTEST_MAIN(TestToolsPunchSim)
#include "tst_toolspunchsim.moc"
