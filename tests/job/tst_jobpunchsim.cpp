// The program's job and link, on the real clock and the real serial layer,
// against the punch-controller simulator on a pseudo-terminal.

#include "app/appcore.h"
#include "platform/filechooser.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"
#include "punchsim/punchcontroller.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int Timeout = 20000;

class ScriptedChooser : public FileChooser
{
public:
    QString path;
    void choosePrtFile(const QString &, std::function<void(FileChoice)> done) override
    {
        done({FileChoice::Chosen, path, {}});
    }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestJobPunchSim : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void punchesTheRoll();
    void controllerStops();
    void simulatorGonePausesTheJob();

private:
    // Starts the simulator bound to COM1, opens a roll and the port, and
    // starts a job at hole first.
    void startJob(const QStringList &simulatorOptions, int first);
    QList<RecordedLine> record() const
    {
        return ParseRecord(readFile(m_dir.filePath(u"record.txt"_s)));
    }
    QByteArray composed(int hole) const
    {
        return m_core->composer.ComposeHoleCommand(hole).text.toLatin1();
    }

    QTemporaryDir m_dir;
    QProcess m_simulator;
    SystemClock m_clock;
    QtSerialPortDevice m_port;
    ScriptedChooser m_chooser;
    std::unique_ptr<AppCore> m_core;
};

void TestJobPunchSim::init()
{
    QVERIFY(m_dir.isValid());
    m_core = std::make_unique<AppCore>(AppServices{m_clock, m_port, m_chooser, m_dir.path() + u'/',
                                                   m_dir.path() + u'/',
                                                   [] { return QList<PresentPort>(); }});
    m_core->startUp();
}

void TestJobPunchSim::cleanup()
{
    m_core.reset();
    m_port.close();
    if (m_simulator.state() != QProcess::NotRunning) {
        m_simulator.terminate();
        if (!m_simulator.waitForFinished(Timeout))
            m_simulator.kill();
    }
    m_simulator.waitForFinished(Timeout);
    QFile::remove(m_dir.filePath(u"record.txt"_s));
}

void TestJobPunchSim::startJob(const QStringList &simulatorOptions, int first)
{
    m_simulator.setProgram(QStringLiteral(VELMORA_PUNCHSIM));
    m_simulator.setArguments(QStringList{u"--map"_s, m_dir.filePath(u"ports.map"_s), u"--record"_s,
                                         m_dir.filePath(u"record.txt"_s), u"--quiet"_s,
                                         u"--exit-after-idle"_s, u"120"_s} +
                             simulatorOptions);
    m_simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_simulator.start();
    QVERIFY(m_simulator.waitForStarted(Timeout));
    QSignalSpy ready(&m_simulator, &QProcess::readyReadStandardOutput);
    while (!m_simulator.canReadLine())
        QVERIFY(ready.wait(Timeout));

    m_chooser.path = QStringLiteral(VELMORA_SOURCE_DIR "/samples/koraal-52.prt");
    m_core->opener.OpenPrtFile();
    QVERIFY(m_core->opener.fileLoaded());
    m_core->portController.OpenPort();
    QVERIFY2(m_core->portOpen(), qPrintable(m_core->log.text()));
    // The simulator's Xon of its start makes the controller ready.
    QTRY_VERIFY_WITH_TIMEOUT(m_core->commEvents.clearToSend(), Timeout);

    m_core->nextNote.set(first);
    m_core->job.cmdStart_Click();
    m_core->job.cmdResume_Click();
}

void TestJobPunchSim::punchesTheRoll()
{
    const int holeCount = 136;
    const int first = holeCount - 5;
    startJob({u"--punch-ms"_s, u"40"_s}, first);
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
    QVERIFY(m_core->log.text().contains(u"Punching is completed, all notes punched\r\n"_s));
    QCOMPARE(m_core->nextNote.value(), 1);

    QTRY_COMPARE_WITH_TIMEOUT(record().size(), holeCount - first + 1, Timeout);
    const QList<RecordedLine> lines = record();
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i].line, composed(first + i));
    // The job waits 100 ms before and 100 ms after every line. The record
    // stamps whole milliseconds as the lines arrive through the terminal, so
    // a line that arrived a little late may make the next gap a little short.
    for (int i = 1; i < lines.size(); ++i) {
        const qint64 gap = lines[i].ms - lines[i - 1].ms;
        QVERIFY2(gap >= 195, qPrintable(u"gap %1 ms before line %2"_s.arg(gap).arg(i)));
    }
}

void TestJobPunchSim::controllerStops()
{
    startJob({u"--punch-ms"_s, u"40"_s, u"--stop-after"_s, u"3"_s}, 20);
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->job.jobRunning(), Timeout);
    QVERIFY(m_core->log.text().contains(
        u"Stop command received from punch, last note punched: 22\r\n"_s));
    QCOMPARE(m_core->job.remainCaption(), u"Punching stopped"_s);
    QTest::qWait(500);
    const QList<RecordedLine> lines = record();
    QCOMPARE(lines.size(), 3);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i].line, composed(20 + i));
}

void TestJobPunchSim::simulatorGonePausesTheJob()
{
    startJob({u"--punch-ms"_s, u"40"_s}, 1);
    QTRY_VERIFY_WITH_TIMEOUT(m_core->nextNote.value() >= 4, Timeout);
    m_simulator.terminate();
    QVERIFY(m_simulator.waitForFinished(Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(m_core->job.jobState(), int(PunchJob::Paused), Timeout);
    QTest::qWait(500);
    QVERIFY(m_core->job.jobRunning());
    QVERIFY(!m_core->portOpen());
    const int next = m_core->nextNote.value();
    QVERIFY(m_core->log.text().contains(u"Port lost, punching paused, next note:"_s));
    // Every hole before the next one reached the simulator, once.
    const QList<RecordedLine> lines = record();
    QCOMPARE(lines.size(), next - 1);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i].line, composed(1 + i));
}

QTEST_GUILESS_MAIN(TestJobPunchSim)
#include "tst_jobpunchsim.moc"
