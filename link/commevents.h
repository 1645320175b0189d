#pragma once

#include "link/linklamps.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace velmora {

class Logbook;

// The incoming lines whose changes the port reports.
enum class ModemLine
{
    Cts,
    Dsr,
    Cd,
    Ri, // the ring indicator came on
};

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

    // The port's events. Each first greys the ring lamp.
    // A batch of bytes arrived: readiness, the controller's "stop" and the
    // lines to log.
    void onReceived(const QByteArray &input);
    // An incoming line changed to high or low: CTS sets clearToSend, each
    // shows on its lamp.
    void onModemLineChanged(ModemLine line, bool high);
    // The line reported an error or an end-of-file character: only logged.
    void onLineError(LineError error);

    // The log text of a line error: "[Framing Error]", and for a number
    // without a name "[Unknown error or event: 1005]".
    static QString lineErrorText(LineError error);

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
    void takeFlowControl();
    void splitLines();
    // Logs the pending line, unless it is empty, and empties it.
    void logRxLine();

    SerialPort &m_port;
    Logbook &m_log;
    LinkLamps &m_lamps;
    std::function<qint32()> m_nextNote;
    bool m_clearToSend = false;
    bool m_rtsKeyState = false;
    // The three texts keep their storage from one batch to the next: a busy
    // controller costs no allocation per line beyond the log's own.
    QString m_rxBuffer; // the batch being taken apart
    QString m_rxLine;
    QString m_rxMessage; // "Recvd: " and the line, as it goes into the log
};

} // namespace velmora
