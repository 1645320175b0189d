// velmora-punchsim: a punch controller on a pseudo-terminal, for trying the
// program and for the end-to-end tests without a machine.
//
// It prints the device path as the first line on stdout, answers every
// command line (ended by CR) with Xoff, waits the punch time and answers Xon,
// and runs until it is terminated (SIGTERM, SIGINT) or, with
// --exit-after-idle, until nothing arrived for that many seconds.

#include "link/portmap.h"
#include "platform/systemclock.h"
#include "punchsim/portmapwriter.h"
#include "punchsim/pseudoterminal.h"
#include "punchsim/punchcontroller.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

bool watchTerminationSignals()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

void complain(const QString &text)
{
    std::fprintf(stderr, "velmora-punchsim: %s\n", text.toLocal8Bit().constData());
}

// A whole number option, at least minimum; exits on anything else.
qint64 numberOption(const QCommandLineParser &parser, const QString &name, qint64 minimum)
{
    bool ok = false;
    const qint64 value = parser.value(name).toLongLong(&ok);
    if (!ok || value < minimum) {
        complain(u"--"_s + name + u" needs a whole number of at least "_s +
                 QString::number(minimum));
        std::exit(2);
    }
    return value;
}

QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0x11)
            text += u"<Xon>"_s;
        else if (u == 0x13)
            text += u"<Xoff>"_s;
        else if (u == '\r')
            text += u"<CR>"_s;
        else if (u == '\n')
            text += u"<LF>"_s;
        else if (u < 0x20 || u >= 0x7f)
            text += u"<"_s + QString::number(u, 16) + u'>';
        else
            text += QLatin1Char(c);
    }
    return text;
}

struct SimulatorOptions
{
    PunchControllerOptions controller;
    int port = 1;               // the COM number bound in the map
    QString mapPath;            // empty: no port map written
    QString recordPath;         // empty: nothing recorded
    qint64 exitAfterIdleMs = 0; // 0: runs until stopped
    bool quiet = false;
};

// Reads the command line; exits on anything it cannot use.
SimulatorOptions readOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Plays a punch controller on a pseudo-terminal. The first line on stdout is the "
        "device to open. Every line received (ended by CR) is answered with Xoff, then, "
        "after the punch time, with Xon; \"#,0020,0000,0000\" also gets a few text lines. "
        "The record file gets one line per received line: milliseconds since start, a "
        "blank, the line's bytes, LF."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"map"_s, u"Bind the device to a port name in this ports.map file."_s, u"file"_s},
        {u"com"_s, u"Port number 1 to 6 for --map (default 1)."_s, u"n"_s, u"1"_s},
        {u"punch-ms"_s, u"Busy time per command line (default 250, 0: instant)."_s, u"ms"_s,
         u"250"_s},
        {u"busy-ms"_s, u"Stay busy, without Xon, this long after start (default 0)."_s, u"ms"_s,
         u"0"_s},
        {u"idle-xon-ms"_s,
         u"Send a lone Xon this long after the last answer (default "
         "1000, 0: never)."_s,
         u"ms"_s, u"1000"_s},
        {u"stop-after"_s, u"Send \"stop\" after the n-th hole line (default 0: never)."_s, u"n"_s,
         u"0"_s},
        {u"record"_s, u"Append every received line to this file."_s, u"file"_s},
        {u"exit-after-idle"_s, u"Exit when nothing arrived for this many seconds."_s, u"s"_s},
        {u"quiet"_s, u"Do not report the conversation on stderr."_s},
    });
    parser.process(app);

    SimulatorOptions options;
    options.controller.punchMs = numberOption(parser, u"punch-ms"_s, 0);
    options.controller.busyMs = numberOption(parser, u"busy-ms"_s, 0);
    options.controller.idleXonMs = numberOption(parser, u"idle-xon-ms"_s, 0);
    options.controller.stopAfter =
        int(qMin<qint64>(numberOption(parser, u"stop-after"_s, 0), 1 << 30));
    options.port = int(numberOption(parser, u"com"_s, 1));
    if (options.port > PortMap::PortCount) {
        complain(u"--com takes 1 to 6"_s);
        std::exit(2);
    }
    if (parser.isSet(u"exit-after-idle"_s))
        options.exitAfterIdleMs = numberOption(parser, u"exit-after-idle"_s, 1) * 1000;
    options.quiet = parser.isSet(u"quiet"_s);
    options.mapPath = parser.value(u"map"_s);
    options.recordPath = parser.value(u"record"_s);
    return options;
}

// Opens the pseudo-terminal and binds it in the port map; prints its device.
bool openTerminal(PseudoTerminal &pty, const SimulatorOptions &options)
{
    QString error;
    if (!pty.open(&error) ||
        (!options.mapPath.isEmpty() &&
         !writeMapLine(options.mapPath, options.port, pty.devicePath(), &error))) {
        complain(error);
        return false;
    }
    std::printf("%s\n", pty.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"velmora-punchsim"_s);
    const SimulatorOptions options = readOptions(app);

    QFile record(options.recordPath);
    if (!options.recordPath.isEmpty() &&
        !record.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        complain(record.fileName() + u": "_s + record.errorString());
        return 1;
    }
    if (!watchTerminationSignals()) {
        complain(u"cannot watch SIGTERM and SIGINT"_s);
        return 1;
    }
    PseudoTerminal pty;
    if (!openTerminal(pty, options))
        return 1;

    const bool quiet = options.quiet;
    SystemClock clock;
    PunchController controller(clock, options.controller, [&](const QByteArray &bytes) {
        if (!quiet)
            complain(u"sends "_s + printable(bytes));
        if (!pty.write(bytes) && !quiet)
            complain(u"nobody reads the device; bytes dropped"_s);
    });
    controller.setLineSeen([&](const QByteArray &line) {
        if (record.isOpen())
            record.write(recordEntry(clock.nowMs(), line));
        if (!quiet)
            complain(u"received "_s + printable(line));
    });

    ClockTimer idleExit(clock);
    const auto armIdleExit = [&] {
        if (options.exitAfterIdleMs > 0)
            idleExit.start(options.exitAfterIdleMs, [] { QCoreApplication::quit(); });
    };
    QSocketNotifier input(pty.masterHandle(), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        const QByteArray bytes = pty.readAvailable();
        if (bytes.isEmpty())
            return;
        armIdleExit();
        controller.receive(bytes);
    });
    QSocketNotifier termination(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&termination, &QSocketNotifier::activated, &app,
                     [] { QCoreApplication::quit(); });

    controller.start();
    armIdleExit();
    return app.exec();
}
