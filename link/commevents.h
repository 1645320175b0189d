#pragma once

#include "link/linklamps.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace velmora {

class Logbook;
class SerialPort;

// The numbers of the communication events. Line errors carry the numbers of
// velmora::LineError.
namespace CommEvent {
inline constexpr int Sent = 1;
inline constexpr int Received = 2;
inline constexpr int CtsChanged = 3;
inline constexpr int DsrChanged = 4;
inline constexpr int CdChanged = 5;
inline constexpr int Ring = 6;
inline constexpr int EndOfFile = 7;
inline constexpr int Break = 1001;
inline constexpr int CtsTimeout = 1002;
inline constexpr int DsrTimeout = 1003;
inline constexpr int Framing = 1004;
inline constexpr int Overrun = 1006;
inline constexpr int CdTimeout = 1007;
inline constexpr int ReceiveOverflow = 1008;
inline constexpr int Parity = 1009;
inline constexpr int TransmitFull = 1010;
inline constexpr int ControlBlock = 1011;
} // namespace CommEvent

// Everything that comes in from the port: received text, modem-line changes
// and line errors. It keeps clearToSend, on which every hole command waits,
// splits the received text into logged lines, recognises the controller's
// "stop", shows the incoming lines and the flow-control state on the lamps,
// and offers the two keys that drive flow control by hand.
//
// Received bytes are taken one byte per character, so a batch boundary can
// never split a character.
class CommEvents : public QObject
{
    Q_OBJECT
public:
    // Received text without a CR beyond this many characters is logged as a
    // line of its own, so that it never grows without bound.
    static constexpr qsizetype RxLineBound = 4096;

    static constexpr char Xon = 17;
    static constexpr char Xoff = 19;

    // nextNote gives the 1-based number of the next hole to punch.
    CommEvents(SerialPort &port, Logbook &log, LinkLamps &lamps, std::function<qint32()> nextNote,
               QObject *parent = nullptr);

    // The controller may take the next hole command. Starts clear.
    bool clearToSend() const { return m_clearToSend; }
    // Sets clearToSend from the CTS line and shows it on the CTS lamps.
    void takeCts(bool high);

    // One event of the port: the event number, and for Received the batch of
    // bytes that arrived.
    void onComm(int commEvent, const QByteArray &input = QByteArray());

    // The log text of an event that is only logged; empty for the others.
    static QString eventText(int commEvent);

    // The window's key handler: "c" toggles clearToSend, "r" raises or drops
    // RTS and sends Xon or Xoff. True when the key was one of them and is
    // swallowed; every other key, upper case included, passes on.
    bool keyPressed(QChar key);

    // Write the single flow-control character, no CR, no log entry; nothing
    // while the port is closed.
    void sendXon();
    void sendXoff();

    // Drops received text not yet logged; a job's end does this.
    void clearReceived();
    // The start of a line whose CR has not arrived yet.
    const QString &rxLine() const { return m_rxLine; }

    // Greys the Xon and Xoff lamps; a job's Start does this.
    void resetFlowControlLamps();

signals:
    // The controller sent "stop". The message with the last note punched is
    // already in the log and the received text is dropped; the job ends.
    void stopRequested();

private:
    void receive(const QByteArray &input);
    void takeFlowControl();
    void splitLines();

    SerialPort &m_port;
    Logbook &m_log;
    LinkLamps &m_lamps;
    std::function<qint32()> m_nextNote;
    bool m_clearToSend = false;
    bool m_rtsKeyState = false;
    QString m_rxBuffer;
    QString m_rxLine;
};

} // namespace velmora
