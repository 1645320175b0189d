// The punch job in the whole program, on the real clock and the real serial
// layer, against the punch-controller simulator on a pseudo-terminal that
// answers every line at once:
//
// - BM_JobRate: the last 100 holes of the 64000-hole roll, from Resume to the
//   end of the job. holes_per_s against the design limit of 5 (target: at
//   least 4.9); max_stall_ms is the longest gap between two beats of a 1 ms
//   heartbeat timer on the window's event loop meanwhile (target: under 16).
// - BM_JobRateRemote: the same with the remote view on and, in a thread of
//   their own, 20 clients asking for /status every 50 ms on keep-alive
//   connections plus 20 that send half a request and then nothing (the view
//   closes those after its idle time). Same targets; status_per_s counts the
//   answers the pollers got, idle_closed the silent connections closed.
// - BM_PeakMemory: the program's peak resident memory with the 64000-hole
//   roll loaded and drawn, against the program with no file (target: at most
//   4 MB more). Each is measured in a process of its own.
//
// On a slow disk: the shim libvelmora_slowsync.so, built beside this program,
// makes every fsync and fdatasync VELMORA_SYNC_DELAY_MS milliseconds longer
// (add --benchmark_filter=BM_JobRate to time the job alone):
//
//   export VELMORA_SYNC_DELAY_MS=100
//   LD_PRELOAD=$PWD/build/bench/libvelmora_slowsync.so build/bench/bench_job
//
// The window is shown on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise. Set VELMORA_BIG_ROLL to the path of a roll made by
// scripts/make-big-roll to use it; otherwise one is written to a temporary
// folder first.
#include "app/application.h"
#include "bench/bigroll.h"
#include "platform/filechooser.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

using namespace velmora;

class ScriptedChooser : public FileChooser
{
public:
    QString path;
    void choosePrtFile(const QString &, std::function<void(FileChoice)> done) override
    {
        done({FileChoice::Chosen, path, {}});
    }
};

// Runs the event loop until done() holds or timeoutMs has passed; false on
// the timeout.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.exit(1); });
    check.start();
    return done() || loop.exec() == 0;
}

// The largest gap between beats of a 1 ms timer while it runs.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_elapsed.nsecsElapsed();
            m_maxGapNs = qMax(m_maxGapNs, now - m_lastNs);
            m_lastNs = now;
        });
    }
    void start()
    {
        m_elapsed.start();
        m_lastNs = 0;
        m_maxGapNs = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    double maxGapMs() const { return double(m_maxGapNs) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    qint64 m_lastNs = 0;
    qint64 m_maxGapNs = 0;
};

// Clients of the remote view, living in the thread they are moved to: each
// poller asks for /status every 50 ms (skipping a beat while an answer is
// still on its way); each silent client sends half a request, then nothing.
class RemoteClients : public QObject
{
public:
    RemoteClients(quint16 port, QByteArray token) : m_port(port), m_token(std::move(token)) {}

    void start(int pollers, int silent)
    {
        for (int i = 0; i < pollers; ++i)
            startPoller();
        for (int i = 0; i < silent; ++i) {
            auto *socket = new QTcpSocket(this);
            connect(socket, &QTcpSocket::connected, socket,
                    [socket] { socket->write("GET /status HTTP/1.1\r\nHost: wor"); });
            connect(socket, &QTcpSocket::disconnected, this, [this] { ++idleClosed; });
            socket->connectToHost(QHostAddress::LocalHost, m_port);
        }
    }
    // Closes every client; closing them now counts for nothing.
    void stop()
    {
        const QList<QTcpSocket *> sockets = findChildren<QTcpSocket *>();
        for (QTcpSocket *socket : sockets)
            socket->disconnect(this);
        qDeleteAll(sockets);
    }

    std::atomic<int> answers{0};
    std::atomic<int> idleClosed{0};

private:
    void startPoller()
    {
        auto *socket = new QTcpSocket(this);
        auto *timer = new QTimer(socket);
        auto waiting = std::make_shared<QByteArray>(); // the answer so far; null: none asked
        const QByteArray request = "GET /status HTTP/1.1\r\nHost: workshop\r\n"
                                   "Authorization: Bearer " +
                                   m_token + "\r\n\r\n";
        connect(timer, &QTimer::timeout, socket, [socket, waiting, request] {
            if (socket->state() == QTcpSocket::ConnectedState && waiting->isNull()) {
                *waiting = QByteArray("");
                socket->write(request);
            }
        });
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, waiting] {
            *waiting += socket->readAll();
            const qsizetype end = waiting->indexOf("\r\n\r\n");
            const qsizetype length = waiting->indexOf("Content-Length: ");
            if (end < 0 || length < 0)
                return;
            const qsizetype size = waiting->mid(length + 16, 8).split('\r').value(0).toLongLong();
            if (waiting->size() >= end + 4 + size) {
                if (waiting->startsWith("HTTP/1.1 200"))
                    ++answers;
                *waiting = QByteArray();
            }
        });
        timer->start(50);
        socket->connectToHost(QHostAddress::LocalHost, m_port);
    }

    quint16 m_port;
    QByteArray m_token;
};

void runJob(benchmark::State &state, bool remote)
{
    constexpr int Holes = 100;
    const QString roll = bigRollPath();
    for (auto _ : state) {
        QTemporaryDir folder;
        QProcess simulator;
        simulator.setProgram(QStringLiteral(VELMORA_PUNCHSIM));
        simulator.setArguments(
            {QStringLiteral("--map"), folder.filePath(QStringLiteral("ports.map")),
             QStringLiteral("--punch-ms"), QStringLiteral("0"), QStringLiteral("--quiet")});
        simulator.start();
        if (!simulator.waitForReadyRead(10000)) {
            state.SkipWithError("the simulator did not start");
            return;
        }

        SystemClock clock;
        QtSerialPortDevice port;
        ScriptedChooser chooser;
        chooser.path = roll;
        Application program({clock, port, chooser, folder.path() + QLatin1Char('/'),
                             folder.path() + QLatin1Char('/'), &presentSerialPorts});
        program.window.show();
        AppCore &core = program.core;
        core.opener.openPrtFile();
        core.portController.openPort();
        if (!core.opener.fileLoaded() || !core.portOpen() ||
            !runUntil([&core] { return core.commEvents.clearToSend(); }, 10000)) {
            state.SkipWithError("no roll, no port or no readiness");
            return;
        }
        const int holeCount = core.holes.holeCount();
        core.nextNote.set(holeCount - Holes + 1);
        core.job.start();

        QThread clientThread;
        std::unique_ptr<RemoteClients> clients;
        if (remote) {
            core.remote.apply({true, 0, {}});
            clients = std::make_unique<RemoteClients>(core.remote.port(),
                                                      core.remote.settings().token.toLatin1());
            clients->moveToThread(&clientThread);
            clientThread.start();
            QMetaObject::invokeMethod(clients.get(), [&clients] { clients->start(20, 20); });
        }

        Heartbeat heartbeat;
        heartbeat.start();
        QElapsedTimer elapsed;
        elapsed.start();
        core.job.resume();
        const bool ended = runUntil([&core] { return !core.job.jobRunning(); }, 60000);
        const double seconds = double(elapsed.nsecsElapsed()) / 1e9;
        heartbeat.stop();
        if (remote) {
            QMetaObject::invokeMethod(
                clients.get(), [&clients] { clients->stop(); }, Qt::BlockingQueuedConnection);
            clientThread.quit();
            clientThread.wait();
            state.counters["status_per_s"] = clients->answers.load() / seconds;
            state.counters["idle_closed"] = clients->idleClosed.load();
        }
        state.SetIterationTime(seconds);
        if (!ended ||
            !core.log.text().contains(QStringLiteral("Punching is completed, all notes punched"))) {
            state.SkipWithError("the job did not complete");
            return;
        }
        state.counters["holes"] = Holes;
        state.counters["holes_per_s"] = Holes / seconds;
        state.counters["max_stall_ms"] = heartbeat.maxGapMs();
        core.portController.closePort();
        simulator.terminate();
        simulator.waitForFinished(10000);
    }
}

void BM_JobRate(benchmark::State &state)
{
    runJob(state, false);
}
BENCHMARK(BM_JobRate)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_JobRateRemote(benchmark::State &state)
{
    runJob(state, true);
}
BENCHMARK(BM_JobRateRemote)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// Reads this process's peak resident memory (VmHWM) in kB; 0 when unknown.
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The program in this process: the window shown, the roll opened when given,
// a second of events for drawing; prints the peak memory.
int memoryProbe(int argc, char *argv[], const char *roll)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    SystemClock clock;
    QtSerialPortDevice port;
    ScriptedChooser chooser;
    Application program({clock, port, chooser, folder.path() + QLatin1Char('/'),
                         folder.path() + QLatin1Char('/'), [] { return QList<PresentPort>(); }});
    program.window.show();
    if (roll) {
        chooser.path = QString::fromLocal8Bit(roll);
        program.core.opener.openPrtFile();
        if (!program.core.opener.fileLoaded())
            return 1;
    }
    QTimer::singleShot(1000, &app, &QCoreApplication::quit);
    QApplication::exec();
    std::printf("%ld\n", peakResidentKb());
    return 0;
}

long ProbeKb(const QStringList &arguments)
{
    QProcess probe;
    probe.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--memory-probe")} + arguments);
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
        return 0;
    return probe.readAllStandardOutput().trimmed().toLong();
}

void BM_PeakMemory(benchmark::State &state)
{
    const QString roll = bigRollPath();
    for (auto _ : state) {
        const long withoutFile = ProbeKb({});
        const long withRoll = ProbeKb({roll});
        if (withoutFile == 0 || withRoll == 0) {
            state.SkipWithError("a probe failed");
            return;
        }
        state.counters["no_file_MB"] = double(withoutFile) / 1024.0;
        state.counters["big_roll_MB"] = double(withRoll) / 1024.0;
        state.counters["more_MB"] = double(withRoll - withoutFile) / 1024.0;
    }
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && std::strcmp(argv[1], "--memory-probe") == 0)
        return memoryProbe(1, argv, argc >= 3 ? argv[2] : nullptr);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
