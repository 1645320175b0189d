// Feeds arbitrary bytes to the receive handling of the serial link, in any
// batching, through the fake port. The input is a series of steps; each starts
// with a header byte:
// - bits 0-5 give the length N of the batch that follows (at most 63 bytes),
//   bits 6-7 repeat those bytes 1, 4, 64 or 256 times within the batch, so
//   that a short input reaches the line bound;
// - N = 0 is no batch but another event, by bits 6-7: CTS toggles, the job
//   ends (received text dropped), the operator presses "c", a framing error.
//
// A plain model of the rules runs beside it. Besides the sanitizers' own
// checks it stops on:
// - a log entry, a pending line or a readiness that differs from the model;
// - pending text past the line bound, or holding CR, LF, Xon or Xoff;
// - a "stop" that does not end the job exactly once;
// - flow-control lamps that do not show the last of Xon and Xoff.
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/logbook.h"
#include "tests/support/fakeserialport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_receive: %s\n", what);
        std::abort();
    }
}

// More received bytes per input only slow the run down.
constexpr qsizetype ByteBudget = 64 * 1024;
constexpr qint32 NextNote = 42;

// What the log, the pending line and the readiness should be.
struct Model
{
    bool ready = false;
    QString pending;
    QStringList entries;
    int stops = 0;

    void logLine()
    {
        if (!pending.isEmpty())
            entries << QString(14, u' ') + u"Recvd: "_s + pending + u"\r\n"_s;
        pending.clear();
    }

    // Returns whether the batch held Xon or Xoff that counted.
    bool receive(const QByteArray &batch)
    {
        if (batch.contains("stop")) {
            entries << u"Stop command received from punch, last note punched: 41\r\n"_s;
            pending.clear();
            ++stops;
            return false;
        }
        bool flow = false;
        for (const char byte : batch) {
            if (byte == CommEvents::Xon || byte == CommEvents::Xoff) {
                ready = byte == CommEvents::Xon;
                flow = true;
            } else if (byte == '\r') {
                logLine();
            } else if (byte != '\n') {
                pending += QChar(char16_t(std::uint8_t(byte)));
            }
        }
        if (pending.size() > CommEvents::RxLineBound)
            logLine();
        return flow;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FakeSerialPort port;
    require(port.open(u"/dev/fuzz"_s, u"9600,N,8,1"_s).ok(), "the fake port did not open");
    Logbook log;
    LinkLamps lamps;
    CommEvents events(port, log, lamps, [] { return NextNote; });

    QStringList entries;
    QObject::connect(&log, &Logbook::appended,
                     [&entries](const QString &entry) { entries << entry; });
    int stops = 0;
    QObject::connect(&events, &CommEvents::stopRequested, [&stops] { ++stops; });

    Model model;
    bool cts = false;
    qsizetype checked = 0; // log entries compared so far
    qsizetype budget = ByteBudget;
    std::size_t at = 0;
    while (at < size && budget > 0) {
        const std::uint8_t header = data[at++];
        const int mode = header >> 6;
        const std::size_t length = header & 0x3f;
        bool flow = false;
        if (length == 0) {
            switch (mode) {
            case 0:
                cts = !cts;
                port.setCts(cts);
                model.ready = cts;
                break;
            case 1:
                events.clearReceived();
                model.pending.clear();
                break;
            case 2:
                require(events.keyPressed(u'c'), "the c key was not taken");
                model.ready = !model.ready;
                break;
            default:
                port.raiseLineError(LineError::Framing);
                model.entries << u"[Framing Error]\r\n"_s;
                break;
            }
        } else {
            const std::size_t taken = std::min(length, size - at);
            if (taken == 0)
                break;
            const QByteArray bytes(reinterpret_cast<const char *>(data + at), qsizetype(taken));
            at += taken;
            static constexpr int Repeats[] = {1, 4, 64, 256};
            const QByteArray batch = bytes.repeated(Repeats[mode]);
            budget -= batch.size();
            require(port.receive(batch), "the batch was not delivered");
            flow = model.receive(batch);
        }

        require(events.clearToSend() == model.ready, "readiness differs from the model");
        const QString &pending = events.rxLine();
        require(pending.size() <= CommEvents::RxLineBound, "pending text past the line bound");
        require(!pending.contains(u'\r') && !pending.contains(u'\n') &&
                    !pending.contains(QChar(char16_t(CommEvents::Xon))) &&
                    !pending.contains(QChar(char16_t(CommEvents::Xoff))),
                "pending text holds a control character");
        require(pending == model.pending, "pending text differs from the model");
        require(entries.size() == model.entries.size(), "log entries differ from the model");
        for (; checked < entries.size(); ++checked)
            require(entries.at(checked) == model.entries.at(checked),
                    "log entry differs from the model");
        require(stops == model.stops, "stop not taken exactly once");
        if (flow) {
            require(lamps.color(LinkLamp::Xon) ==
                        (model.ready ? LampColors::Green : LampColors::Off),
                    "Xon lamp wrong");
            require(lamps.color(LinkLamp::Xoff) ==
                        (model.ready ? LampColors::Off : LampColors::Yellow),
                    "Xoff lamp wrong");
        }
    }
    return 0;
}
