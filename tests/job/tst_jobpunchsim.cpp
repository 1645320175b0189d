// The whole program's job, link and tools panel, on the real clock and the
// real serial layer, against the punch-controller simulator on a
// pseudo-terminal; with an event command for every job event, on a roll whose
// name and path a shell would take for commands.

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

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

constexpr int Timeout = 20000;
const QString ShellName = u"a;touch x;$(touch y) \"Grüß\""_s;

class TestJobPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_app = std::make_unique<Application>(AppServices{m_clock, m_port, m_chooser,
                                                          m_dir.path() + u'/', m_dir.path() + u'/',
                                                          [] { return QList<PresentPort>(); }});
        m_core = &m_app->core;
        // The sample roll under another name, with another name inside.
        QByteArray text = readFile(samplePath("koraal-52.prt"));
        text.replace(0, text.indexOf('\r'), "NAAM        " + ShellName.toUtf8());
        QVERIFY(writeFile(rollPath(), text));
        ExtraValues commands;
        for (const JobEvent event : AllJobEvents)
            commands.command(event) = u"\"%1/tests/support/recordevent.sh\" \"%2\" "
                                      "%event %roll %name %hole %holes %sent"_s.arg(
                                          QStringLiteral(VELMORA_SOURCE_DIR), eventsPath());
        m_core->extras.setValues(commands);
    }
    void cleanup()
    {
        m_app.reset();
        m_port.close();
        m_sim.stop(Timeout);
        for (const QString &name : {u"record.txt"_s, u"events.txt"_s})
            QFile::remove(m_dir.filePath(name));
        // Nothing of the roll's name ran.
        QVERIFY(!QFile::exists(u"x"_s) && !QFile::exists(u"y"_s));
    }

    void controllerStops()
    {
        startJob({u"--stop-after"_s, u"3"_s}, 20);
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
        QVERIFY(m_core->log.text().contains(
            u"Stop command received from punch, last note punched: 22\r\n"_s));
        QCOMPARE(m_core->job.remainCaption(), u"Punching stopped"_s);
        QTRY_COMPARE_WITH_TIMEOUT(events(), QStringList{eventLine(u"controller-stop"_s, 22, 3)},
                                  Timeout);
        QTest::qWait(500);
        checkRecord(20, 3);
    }

    // The simulator gone part-way pauses the job; back again, Resume punches
    // the roll to its end, every hole exactly once.
    void punchesTheRoll()
    {
        const int first = 126;
        startJob({}, first);
        QTRY_VERIFY_WITH_TIMEOUT(m_core->nextNote.value() >= first + 3, Timeout);
        m_sim.process.terminate();
        QVERIFY(m_sim.process.waitForFinished(Timeout));
        QTRY_COMPARE_WITH_TIMEOUT(m_core->job.jobState(), int(PunchJob::Paused), Timeout);
        QTest::qWait(500);
        QVERIFY(m_core->job.jobRunning());
        QVERIFY(!m_core->portOpen());
        QVERIFY(m_core->log.text().contains(u"Port lost, punching paused, next note:"_s));
        // Every hole before the next one reached the simulator, once.
        const int before = m_core->nextNote.value() - first;
        checkRecord(first, before);
        const QString lost = eventLine(u"port-lost"_s, first + before - 1, before);
        QTRY_COMPARE_WITH_TIMEOUT(events(), QStringList{lost}, Timeout);

        connectSimulator({});
        m_core->job.resume();
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
        QVERIFY(m_core->log.text().contains(u"Punching is completed, all notes punched\r\n"_s));
        QCOMPARE(m_core->nextNote.value(), 1);
        const QString recordPath = m_dir.filePath(u"record.txt"_s);
        const int count = m_core->holes.holeCount() - first + 1;
        QTRY_COMPARE_WITH_TIMEOUT(parseRecord(readFile(recordPath)).size(), count, Timeout);
        checkRecord(first, count);
        QTRY_COMPARE_WITH_TIMEOUT(
            events(), QStringList({lost, eventLine(u"completed"_s, first + count - 1, count)}),
            Timeout);
        // The job waits 100 ms before and 100 ms after every line. The record
        // stamps the lines as they arrive through the terminal, so on a busy
        // machine one late line shortens the gap after it: the lines since
        // Resume together must still have taken their 200 ms each (the exact
        // gaps are checked on the virtual clock).
        const QList<RecordedLine> lines = parseRecord(readFile(recordPath)).mid(before);
        const qint64 span = lines.last().ms - lines.first().ms;
        QVERIFY2(span >= 190 * (lines.size() - 1),
                 qPrintable(u"%1 ms for %2 lines"_s.arg(span).arg(lines.size())));
    }

    // The tools panel while a job punches: each of its buttons clicked.
    void toolLinesBetweenHoles()
    {
        connectWithRoll({});
        m_app->window.mnuTest()->trigger();
        m_core->job.start();
        m_core->job.resume();
        ToolsPanel *tools = m_app->window.toolsPanel();
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
        QTRY_VERIFY_WITH_TIMEOUT(m_core->nextNote.value() > 3, Timeout);
        m_core->job.pause();
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.punching(), Timeout);

        // Every line arrives whole, ended by the CR that completes it: the tool
        // lines in their order, the holes in theirs.
        const int holes = m_core->nextNote.value() - 1;
        const QString recordPath = m_dir.filePath(u"record.txt"_s);
        QTRY_COMPARE_WITH_TIMEOUT(parseRecord(readFile(recordPath)).size(), holes + 9, Timeout);
        checkRecord(1, holes,
                    {"#,0001,0050,0000", "#,0002,0002,0000", "#,0003,0120,0000", "#,0004,0000,0000",
                     "#,0005,0000,0000", "#,0006,0000,0000", "#,0007,0120,0000",
                     "#,0003,12345,0000", "#,0020,0000,0000"});

        // The answer to "Show settings" is logged line by line.
        for (const QString &line :
             {u"Zelvoor punch controller, firmware 2.4"_s, u"x-steps/mm: 40.00"_s,
              u"y-steps/mm: 25.00"_s, u"arm start: 0, arm centre: 1850"_s, u"punch time: 40 ms"_s})
            QTRY_VERIFY_WITH_TIMEOUT(
                m_core->log.text().contains(QString(14, u' ') + u"Recvd: "_s + line + u"\r\n"_s),
                Timeout);
        m_core->job.requestStop();
        m_core->job.confirmStop();
        QTRY_COMPARE_WITH_TIMEOUT(events(), QStringList{eventLine(u"stopped"_s, holes, holes)},
                                  Timeout);
    }

private:
    // Starts the simulator bound to COM1 and opens the port to it; its Xon
    // of its start makes the controller ready.
    void connectSimulator(const QStringList &simulatorOptions)
    {
        const QStringList options = QStringList{u"--punch-ms"_s, u"40"_s} + simulatorOptions;
        QVERIFY(!m_sim.start(QStringLiteral(VELMORA_PUNCHSIM), m_dir.path(), options, Timeout)
                     .isEmpty());
        m_core->portController.openPort();
        QVERIFY2(m_core->portOpen(), qPrintable(m_core->log.text()));
        QTRY_VERIFY_WITH_TIMEOUT(m_core->commEvents.clearToSend(), Timeout);
    }
    // Opens a roll and connects the simulator.
    void connectWithRoll(const QStringList &simulatorOptions)
    {
        m_chooser.answer.path = rollPath();
        m_core->opener.openPrtFile();
        QVERIFY(m_core->opener.fileLoaded());
        QCOMPARE(m_core->holes.rollName, ShellName);
        connectSimulator(simulatorOptions);
    }
    // Connects the simulator with a roll and starts a job at hole first.
    void startJob(const QStringList &simulatorOptions, int first)
    {
        connectWithRoll(simulatorOptions);
        if (QTest::currentTestFailed())
            return;
        m_core->nextNote.set(first);
        m_core->job.start();
        m_core->job.resume();
    }
    // The simulator's record holds the composed lines of holes first on and,
    // among them, the tool lines given.
    void checkRecord(int first, int count, const QList<QByteArray> &toolLines = {})
    {
        QList<QByteArray> lines[2]; // tool lines, hole lines
        for (const RecordedLine &entry : parseRecord(readFile(m_dir.filePath(u"record.txt"_s))))
            lines[entry.line.startsWith('#') ? 0 : 1] << entry.line;
        QCOMPARE(lines[0], toolLines);
        QCOMPARE(lines[1].size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(lines[1][i], m_core->composer.composeHoleCommand(first + i).text.toLatin1());
    }

    QString rollPath() const { return m_dir.filePath(u"a;touch x;$(touch y).prt"_s); }
    QString eventsPath() const { return m_dir.filePath(u"events.txt"_s); }
    // The lines the event commands wrote.
    QStringList events() const
    {
        return QString::fromUtf8(readFile(eventsPath())).split(u'\n', Qt::SkipEmptyParts);
    }
    // What the recording command writes for an event: its arguments, then the
    // same facts from its environment.
    QString eventLine(const QString &event, int hole, int sent) const
    {
        const QString facts = u"%1|%2|%3|%4|%5|%6|"_s.arg(event, rollPath(), ShellName)
                                  .arg(hole)
                                  .arg(m_core->holes.holeCount())
                                  .arg(sent);
        return facts + facts;
    }

    QTemporaryDir m_dir;
    PunchSimProcess m_sim;
    SystemClock m_clock;
    QtSerialPortDevice m_port;
    ScriptedChooser m_chooser;
    std::unique_ptr<Application> m_app;
    AppCore *m_core = nullptr;
};

QTEST_MAIN(TestJobPunchSim)
#include "tst_jobpunchsim.moc"
