#pragma once

#include <QString>
#include <QtGlobal>

namespace velmora {

// What the punch job needs of the serial link, which also keeps the log. The
// link implements it; job tests use a fake. The job knows no more of the link
// than this.
class JobLink
{
public:
    virtual ~JobLink() = default;

    // The controller may take the next hole command (clearToSend).
    virtual bool clearToSend() const = 0;

    // Writes the hole's command line followed by one CR and logs it as sent
    // ("Sent: " line "^" "    nr: " hole " (armpos=" keynum ")", kind "s").
    // Returns false, having written nothing and logged why, when the port is
    // not open.
    virtual bool sendHoleCommand(const QString &commandLine, int holeNumber, qint32 keynum) = 0;

    // Drops received text not yet logged (rxLine, rxBuffer); a job's end
    // does this.
    virtual void clearReceived() = 0;

    // Writes one of the job's milestones into the log.
    virtual void writeLog(const QString &message) = 0;
};

} // namespace velmora
