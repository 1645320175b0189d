// Feeds arbitrary bytes to the receive handling of the serial link, in any
// batching, through the fake port. The input is a series of steps; each starts
// with a header byte:
// - bits 0-5 give the length N of the batch that follows (at most 63 bytes),
//   bits 6-7 repeat those bytes 1, 4, 64 or 256 times within the batch
//   (fewer when the input's byte budget runs out), so that a short input
//   reaches the line bound;
// - N = 0 is no batch but another event, by bits 6-7: CTS toggles, the job
//   ends (received text dropped), the operator presses "c", a framing error.
//
// A plain model of the rules runs beside it. Besides the sanitizers' own
// checks it stops on:
// - a log entry, a pending line or a readiness that differs from the model;
// - pending text past the line bound, or holding CR, LF, Xon or Xoff;
// - a "stop" that does not end the job exactly once;
// - flow-control lamps that do not show the last of Xon and Xoff.
//
// The link's objects are made once and brought back to a closed line with
// nothing pending before every input; the log lives on, as the program's
// does. Every buffer keeps its storage from one input to the next, so an
// input costs no more than the bytes it feeds.
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/logbook.h"
#include "tests/support/fakeserialport.h"

#include <QByteArray>
#include <QString>

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

// Received bytes per input: enough to pass the line bound twice, or once in a
// single batch; more only slow the run down. The last batch is cut, in whole
// copies of its bytes, to what is left.
constexpr qsizetype ByteBudget = 2 * CommEvents::RxLineBound;
constexpr qint32 NextNote = 42;
// Ends every entry in the logs compared, so that two entries can never pass
// for one: no received byte becomes this character.
constexpr QChar EntryEnd{char16_t(0xFFFF)};

void addEntry(QString &entries, QStringView entry)
{
    entries += entry;
    entries += EntryEnd;
}

// What the log, the pending line and the readiness should be.
struct Model
{
    bool ready = false;
    QString pending;
    QString entries; // added since the last comparison, each ended by EntryEnd
    int stops = 0;

    void reset()
    {
        ready = false;
        pending.truncate(0);
        entries.truncate(0);
        stops = 0;
    }

    void logLine()
    {
        if (!pending.isEmpty()) {
            entries += QLatin1StringView("              Recvd: ");
            entries += pending;
            entries += QLatin1StringView("\r\n");
            entries += EntryEnd;
        }
        pending.truncate(0);
    }

    // Returns whether the batch held Xon or Xoff that counted. The model's
    // own branches say nothing about the link: only the link's guide the
    // fuzzer, and the loop over every byte stays fast.
    __attribute__((no_sanitize("coverage"), noinline)) bool receive(QByteArrayView batch)
    {
        if (batch.contains("stop")) {
            addEntry(entries, u"Stop command received from punch, last note punched: 41\r\n");
            pending.truncate(0);
            ++stops;
            return false;
        }
        bool flow = false;
        const char *const bytes = batch.data();
        qsizetype text = 0; // start of the plain text not yet pending
        for (qsizetype at = 0; at < batch.size(); ++at) {
            const char byte = bytes[at];
            if (byte != CommEvents::Xon && byte != CommEvents::Xoff && byte != '\r' && byte != '\n')
                continue;
            pending += QLatin1StringView(bytes + text, at - text);
            text = at + 1;
            if (byte == '\r') {
                logLine();
            } else if (byte != '\n') {
                ready = byte == CommEvents::Xon;
                flow = true;
            }
        }
        pending += QLatin1StringView(bytes + text, batch.size() - text);
        if (pending.size() > CommEvents::RxLineBound)
            logLine();
        return flow;
    }
};

// The link as the program makes it, with what it reports since the last
// comparison.
struct Link
{
    FakeSerialPort port;
    Logbook log;
    LinkLamps lamps;
    CommEvents events{port, log, lamps, [] { return NextNote; }};
    QString entries; // each ended by EntryEnd
    int stops = 0;

    Link()
    {
        require(port.open(u"/dev/fuzz"_s, u"9600,N,8,1"_s).ok(), "the fake port did not open");
        QObject::connect(&log, &Logbook::appended,
                         [this](const QString &entry) { addEntry(entries, entry); });
        QObject::connect(&events, &CommEvents::stopRequested, [this] { ++stops; });
    }

    // CTS low, not ready, nothing pending: the state after the port opened.
    void reset()
    {
        port.setCts(false);
        events.takeCts(false);
        events.clearReceived();
        entries.truncate(0);
        stops = 0;
    }
};

bool holdsControl(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') ||
           text.contains(QChar(char16_t(CommEvents::Xon))) ||
           text.contains(QChar(char16_t(CommEvents::Xoff)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Link link;
    static Model model;
    static QByteArray batch;
    link.reset();
    model.reset();

    bool cts = false;
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
                link.port.setCts(cts);
                model.ready = cts;
                break;
            case 1:
                link.events.clearReceived();
                model.pending.truncate(0);
                break;
            case 2:
                require(link.events.keyPressed(u'c'), "the c key was not taken");
                model.ready = !model.ready;
                break;
            default:
                link.port.raiseLineError(LineError::Framing);
                addEntry(model.entries, u"[Framing Error]\r\n");
                break;
            }
        } else {
            const std::size_t taken = std::min(length, size - at);
            if (taken == 0)
                break;
            const QByteArrayView bytes(data + at, qsizetype(taken));
            at += taken;
            static constexpr qsizetype Repeats[] = {1, 4, 64, 256};
            const qsizetype copies = std::clamp(budget / bytes.size(), qsizetype(1), Repeats[mode]);
            batch.truncate(0);
            for (qsizetype i = 0; i < copies; ++i)
                batch += bytes;
            budget -= batch.size();
            require(link.port.receive(batch), "the batch was not delivered");
            flow = model.receive(batch);
            // Only received bytes change the pending text.
            require(!holdsControl(link.events.rxLine()), "pending text holds a control character");
        }

        require(link.events.clearToSend() == model.ready, "readiness differs from the model");
        const QString &pending = link.events.rxLine();
        require(pending.size() <= CommEvents::RxLineBound, "pending text past the line bound");
        require(pending == model.pending, "pending text differs from the model");
        require(link.entries == model.entries, "log entries differ from the model");
        link.entries.truncate(0);
        model.entries.truncate(0);
        require(link.stops == model.stops, "stop not taken exactly once");
        if (flow) {
            require(link.lamps.color(LinkLamp::Xon) ==
                        (model.ready ? LampColors::Green : LampColors::Off),
                    "Xon lamp wrong");
            require(link.lamps.color(LinkLamp::Xoff) ==
                        (model.ready ? LampColors::Off : LampColors::Yellow),
                    "Xoff lamp wrong");
        }
    }
    return 0;
}
