#pragma once

#include "platform/clock.h"

#include <QByteArray>
#include <QList>

#include <deque>
#include <functional>

namespace velmora {

struct PunchControllerOptions
{
    qint64 punchMs = 250;    // busy time per command line; 0 answers at once
    qint64 busyMs = 0;       // busy after start: no Xon and no work for this long
    qint64 idleXonMs = 1000; // a lone Xon this long after the last answer; 0: none
    int stopAfter = 0;       // send "stop" after this many hole lines; 0: never
};

// The punch controller's side of the serial conversation. Bytes come in
// through receive(); a line ends at CR, LF is dropped. For every non-empty
// line it answers Xoff at once, is busy for punchMs, then answers Xon.
// Lines that arrive while it is busy wait their turn. The settings display
// command "#,0020,0000,0000" is answered with a few text lines (CR LF) before
// its Xon. Lines that do not start with "#" are hole lines; after the
// stopAfter-th one "stop" CR LF goes out before the Xon.
class PunchController
{
public:
    static constexpr char Xon = 0x11;
    static constexpr char Xoff = 0x13;
    static constexpr qsizetype MaxLineLength = 4096; // a longer line is cut there
    static const QByteArray SettingsCommand;

    using Send = std::function<void(const QByteArray &bytes)>;
    using LineSeen = std::function<void(const QByteArray &line)>;

    PunchController(Clock &clock, const PunchControllerOptions &options, Send send);

    // Called with every line as it arrives, before it is answered, empty lines
    // included.
    void setLineSeen(LineSeen lineSeen) { m_lineSeen = std::move(lineSeen); }

    // Announces readiness (one Xon), or starts the busy time.
    void start();
    void receive(const QByteArray &bytes);

    // The text lines that answer the settings display command.
    QByteArray settingsText() const;

private:
    void completeLine();
    void workNext();
    void finish(const QByteArray &line);
    void armIdleXon();

    Clock &m_clock;
    PunchControllerOptions m_options;
    Send m_send;
    LineSeen m_lineSeen;
    ClockTimer m_busyTimer;
    ClockTimer m_punchTimer;
    ClockTimer m_idleTimer;
    QByteArray m_partial;
    std::deque<QByteArray> m_waiting;
    bool m_busy = false;
    bool m_working = false;
    bool m_stopSent = false;
    int m_holeLines = 0;
};

// The record of received lines: one per line, "<ms> <line bytes>" and LF,
// where ms counts milliseconds since the simulator started and the line bytes
// are exactly those received before the CR (LF bytes dropped).
QByteArray recordEntry(qint64 ms, const QByteArray &line);

struct RecordedLine
{
    qint64 ms = 0;
    QByteArray line;
};

// Reads a record; an unfinished last entry (no LF yet) is left out.
QList<RecordedLine> parseRecord(const QByteArray &record);

} // namespace velmora
