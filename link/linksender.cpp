#include "link/linksender.h"

#include "link/commevents.h"
#include "link/logbook.h"
#include "platform/serialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

LinkSender::LinkSender(SerialPort &port, Logbook &log, CommEvents &events)
    : m_port(port), m_log(log), m_events(events)
{}

bool LinkSender::clearToSend() const
{
    return m_events.clearToSend();
}

bool LinkSender::send(const QString &line)
{
    if (m_port.isOpen() && m_port.write(line.toLatin1() + '\r'))
        return true;
    // A port that refused the line is open still, or was lost meanwhile.
    const QString reason = m_port.isOpen() ? m_port.writeError() : u"the port is closed"_s;
    m_log.writeLog(u"Not sent, "_s + reason + u": "_s + line);
    return false;
}

bool LinkSender::sendHoleCommand(const QString &commandLine, int holeNumber, qint32 keynum)
{
    if (!send(commandLine))
        return false;
    m_log.writeLog(u"Sent: "_s + commandLine + u"^    nr: "_s + QString::number(holeNumber) +
                       u" (armpos="_s + QString::number(keynum) + u')',
                   LogKind::Sent);
    return true;
}

bool LinkSender::sendToolCommand(const QString &toolCommandLine)
{
    if (!send(toolCommandLine))
        return false;
    m_log.writeLog(u"Sent: "_s + toolCommandLine + u'^', LogKind::Sent);
    return true;
}

void LinkSender::clearReceived()
{
    m_events.clearReceived();
}

void LinkSender::writeLog(const QString &message)
{
    m_log.writeLog(message);
}

} // namespace velmora
