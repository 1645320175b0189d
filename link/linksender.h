#pragma once

#include "job/joblink.h"

#include <QString>

namespace velmora {

class CommEvents;
class Logbook;
class SerialPort;

// Sends command lines to the controller: one line of text followed by a
// single CR, never an LF, and logs each as sent. Neither send waits: the hole
// command's readiness wait and delays belong to the job, which reads
// clearToSend. Each line and its CR go to the port in one write, so a tool
// line sent while a job runs lies between two hole lines, never inside one.
class LinkSender final : public JobLink
{
public:
    LinkSender(SerialPort &port, Logbook &log, CommEvents &events);

    bool clearToSend() const override;
    // Logs "Sent: LINE^    nr: HOLE (armpos=KEYNUM)".
    bool sendHoleCommand(const QString &commandLine, int holeNumber, qint32 keynum) override;
    void clearReceived() override;
    void writeLog(const QString &message) override;

    // Sends a tool command at once, whatever clearToSend says, and logs
    // "Sent: LINE^". With the port closed, or a write the device refuses,
    // nothing is sent, the log says why ("Not sent, REASON: LINE") and the
    // result is false.
    bool sendToolCommand(const QString &toolCommandLine);

private:
    bool send(const QString &line);

    SerialPort &m_port;
    Logbook &m_log;
    CommEvents &m_events;
};

} // namespace velmora
