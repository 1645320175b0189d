// The program's job and link, on the real clock and the real serial layer,
// against the punch-controller simulator on a pseudo-terminal.

#include "app/appcore.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"
#include "punchsim/punchcontroller.h"
#include "tests/support/testhelpers.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

constexpr int Timeout = 20000;

class TestJobPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_core = std::make_unique<AppCore>(AppServices{m_clock, m_port, m_chooser,
                                                       m_dir.path() + u'/', m_dir.path() + u'/',
                                                       [] { return QList<PresentPort>(); }});
        m_core->startUp();
    }
    void cleanup()
    {
        m_core.reset();
        m_port.close();
        m_sim.stop(Timeout);
        QFile::remove(m_dir.filePath(u"record.txt"_s));
    }
    void punchesTheRoll();
    void controllerStops();
    void simulatorGonePausesTheJob();

private:
    // Starts the simulator bound to COM1, opens a roll and the port, and
    // starts a job at hole first.
    void startJob(const QStringList &simulatorOptions, int first)
    {
        QVERIFY(
            !m_sim
                 .start(QStringLiteral(VELMORA_PUNCHSIM),
                        QStringList{u"--map"_s, m_dir.filePath(u"ports.map"_s), u"--record"_s,
                                    m_dir.filePath(u"record.txt"_s), u"--quiet"_s,
                                    u"--exit-after-idle"_s, u"120"_s, u"--punch-ms"_s, u"40"_s} +
                            simulatorOptions,
                        Timeout)
                 .isEmpty());
        m_chooser.answer.path = samplePath("koraal-52.prt");
        m_core->opener.openPrtFile();
        QVERIFY(m_core->opener.fileLoaded());
        m_core->portController.openPort();
        QVERIFY2(m_core->portOpen(), qPrintable(m_core->log.text()));
        // The simulator's Xon of its start makes the controller ready.
        QTRY_VERIFY_WITH_TIMEOUT(m_core->commEvents.clearToSend(), Timeout);
        m_core->nextNote.set(first);
        m_core->job.start();
        m_core->job.resume();
    }
    // The simulator's record holds the composed lines of holes first on.
    void checkRecord(int first, int count)
    {
        const QList<RecordedLine> lines = ParseRecord(readFile(m_dir.filePath(u"record.txt"_s)));
        QCOMPARE(lines.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(lines[i].line, m_core->composer.composeHoleCommand(first + i).text.toLatin1());
    }

    QTemporaryDir m_dir;
    PunchSimProcess m_sim;
    SystemClock m_clock;
    QtSerialPortDevice m_port;
    ScriptedChooser m_chooser;
    std::unique_ptr<AppCore> m_core;
};

void TestJobPunchSim::punchesTheRoll()
{
    const int holeCount = 136;
    const int first = holeCount - 5;
    startJob({}, first);
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
    QVERIFY(m_core->log.text().contains(u"Punching is completed, all notes punched\r\n"_s));
    QCOMPARE(m_core->nextNote.value(), 1);

    const QString recordPath = m_dir.filePath(u"record.txt"_s);
    QTRY_COMPARE_WITH_TIMEOUT(ParseRecord(readFile(recordPath)).size(), 6, Timeout);
    checkRecord(first, 6);
    // The job waits 100 ms before and 100 ms after every line. The record
    // stamps whole milliseconds as the lines arrive through the terminal, so
    // a line that arrived late (on a loaded machine, or under the sanitizers)
    // makes the next gap short by as much: each gap has a wide margin, the
    // whole span, where that evens out, a narrow one.
    const QList<RecordedLine> lines = ParseRecord(readFile(recordPath));
    for (int i = 1; i < lines.size(); ++i) {
        const qint64 gap = lines[i].ms - lines[i - 1].ms;
        QVERIFY2(gap >= 150, qPrintable(u"gap %1 ms before line %2"_s.arg(gap).arg(i)));
    }
    const qint64 span = lines.last().ms - lines.first().ms;
    QVERIFY2(span >= 200 * (lines.size() - 1) - 40, qPrintable(u"span %1 ms"_s.arg(span)));
}

void TestJobPunchSim::controllerStops()
{
    startJob({u"--stop-after"_s, u"3"_s}, 20);
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
    QVERIFY(m_core->log.text().contains(
        u"Stop command received from punch, last note punched: 22\r\n"_s));
    QCOMPARE(m_core->job.remainCaption(), u"Punching stopped"_s);
    QTest::qWait(500);
    checkRecord(20, 3);
}

void TestJobPunchSim::simulatorGonePausesTheJob()
{
    startJob({}, 1);
    QTRY_VERIFY_WITH_TIMEOUT(m_core->nextNote.value() >= 4, Timeout);
    m_sim.process.terminate();
    QVERIFY(m_sim.process.waitForFinished(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(m_core->job.jobState(), int(PunchJob::Paused), Timeout);
    QTest::qWait(500);
    QVERIFY(m_core->job.jobRunning());
    QVERIFY(!m_core->portOpen());
    QVERIFY(m_core->log.text().contains(u"Port lost, punching paused, next note:"_s));
    // Every hole before the next one reached the simulator, once.
    checkRecord(1, m_core->nextNote.value() - 1);
}

QTEST_GUILESS_MAIN(TestJobPunchSim)
#include "tst_jobpunchsim.moc"
