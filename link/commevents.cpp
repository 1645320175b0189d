#include "link/commevents.h"

#include "common/numbers.h"
#include "link/logbook.h"
#include "platform/serialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

namespace {
constexpr QChar xonChar{char16_t(CommEvents::Xon)};
constexpr QChar xoffChar{char16_t(CommEvents::Xoff)};
} // namespace

CommEvents::CommEvents(SerialPort &port, Logbook &log, LinkLamps &lamps,
                       std::function<qint32()> nextNote, QObject *parent)
    : QObject(parent), m_port(port), m_log(log), m_lamps(lamps), m_nextNote(std::move(nextNote))
{
    connect(&port, &SerialPort::received, this, &CommEvents::onReceived);
    connect(&port, &SerialPort::ctsChanged, this,
            [this](bool high) { onModemLineChanged(ModemLine::Cts, high); });
    connect(&port, &SerialPort::dsrChanged, this,
            [this](bool high) { onModemLineChanged(ModemLine::Dsr, high); });
    connect(&port, &SerialPort::cdChanged, this,
            [this](bool high) { onModemLineChanged(ModemLine::Cd, high); });
    connect(&port, &SerialPort::ringDetected, this,
            [this] { onModemLineChanged(ModemLine::Ri, true); });
    connect(&port, &SerialPort::lineError, this, &CommEvents::onLineError);
    // Not one of the port's events, but the operator has to know.
    connect(&port, &SerialPort::transferFailed, this,
            [this](const QString &reason) { m_log.writeLog(reason); });
}

void CommEvents::takeCts(bool high)
{
    m_clearToSend = high;
    m_lamps.setLine(LinkLamp::Cts, high);
}

QString CommEvents::lineErrorText(LineError error)
{
    switch (error) {
    case LineError::EndOfFile:
        return u"[End of File Detected]"_s;
    case LineError::Break:
        return u"[Break Received]"_s;
    case LineError::CtsTimeout:
        return u"[CTS Timeout]"_s;
    case LineError::DsrTimeout:
        return u"[DSR Timeout]"_s;
    case LineError::Framing:
        return u"[Framing Error]"_s;
    case LineError::Overrun:
        return u"[Overrun Error]"_s;
    case LineError::CdTimeout:
        return u"[Carrier Detect Timeout]"_s;
    case LineError::ReceiveOverflow:
        return u"[Receive Buffer Overflow]"_s;
    case LineError::Parity:
        return u"[Parity Error]"_s;
    case LineError::TransmitFull:
        return u"[Transmit Buffer Full]"_s;
    case LineError::ControlBlock:
        return u"[Error retrieving DCB]"_s;
    }
    return u"[Unknown error or event: "_s + QString::number(int(error)) + u']';
}

void CommEvents::onModemLineChanged(ModemLine line, bool high)
{
    m_lamps.set(LinkLamp::Ri, LampColors::Off);
    switch (line) {
    case ModemLine::Cts:
        takeCts(high);
        break;
    case ModemLine::Dsr:
        m_lamps.setLine(LinkLamp::Dsr, high);
        break;
    case ModemLine::Cd:
        m_lamps.setLine(LinkLamp::Cd, high);
        break;
    case ModemLine::Ri:
        m_lamps.setLine(LinkLamp::Ri, high);
        break;
    }
}

void CommEvents::onLineError(LineError error)
{
    m_lamps.set(LinkLamp::Ri, LampColors::Off);
    m_log.writeLog(lineErrorText(error));
}

void CommEvents::onReceived(const QByteArray &input)
{
    m_lamps.set(LinkLamp::Ri, LampColors::Off);
    if (input.isEmpty())
        return;
    m_rxBuffer.append(QLatin1StringView(input));

    // Only the text of this batch counts: a "stop" split over two batches is
    // an ordinary line.
    if (m_rxBuffer.contains(u"stop"_s)) {
        m_log.writeLog(u"Stop command received from punch, last note punched:"_s +
                       numberText(qint64(m_nextNote()) - 1));
        clearReceived();
        emit stopRequested();
        return;
    }

    takeFlowControl();
    m_rxBuffer.remove(u'\n');
    if (m_rxBuffer.isEmpty())
        return;
    splitLines();
}

void CommEvents::takeFlowControl()
{
    const qsizetype lastXon = m_rxBuffer.lastIndexOf(xonChar);
    const qsizetype lastXoff = m_rxBuffer.lastIndexOf(xoffChar);
    if (lastXon < 0 && lastXoff < 0)
        return;
    // The character that arrived last decides: the controller's latest word
    // on its readiness.
    const bool ready = lastXon > lastXoff;
    m_clearToSend = ready;
    m_lamps.set(LinkLamp::Xon, ready ? LampColors::Green : LampColors::Off);
    m_lamps.set(LinkLamp::Xoff, ready ? LampColors::Off : LampColors::Yellow);
    m_rxBuffer.remove(xonChar);
    m_rxBuffer.remove(xoffChar);
}

void CommEvents::splitLines()
{
    const QStringView text(m_rxBuffer);
    qsizetype start = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', start)) {
        m_rxLine += text.sliced(start, cr - start);
        logRxLine();
        start = cr + 1;
    }
    m_rxLine += text.sliced(start);
    m_rxBuffer.truncate(0);
    if (m_rxLine.size() > RxLineBound)
        logRxLine();
}

void CommEvents::logRxLine()
{
    if (!m_rxLine.isEmpty()) {
        m_rxMessage.truncate(0);
        m_rxMessage += u"Recvd: ";
        m_rxMessage += m_rxLine;
        m_log.writeLog(m_rxMessage, LogKind::Received);
    }
    m_rxLine.truncate(0);
}

bool CommEvents::keyPressed(QChar key)
{
    if (key == u'c') {
        takeCts(!m_clearToSend);
        return true;
    }
    if (key == u'r') {
        m_rtsKeyState = !m_rtsKeyState;
        m_port.setRts(m_rtsKeyState);
        m_lamps.setLine(LinkLamp::Rts, m_rtsKeyState);
        if (m_rtsKeyState)
            sendXon();
        else
            sendXoff();
        return true;
    }
    return false;
}

void CommEvents::sendXon()
{
    if (m_port.isOpen())
        m_port.write(QByteArray(1, Xon));
}

void CommEvents::sendXoff()
{
    if (m_port.isOpen())
        m_port.write(QByteArray(1, Xoff));
}

void CommEvents::clearReceived()
{
    m_rxBuffer.truncate(0);
    m_rxLine.truncate(0);
}

void CommEvents::resetFlowControlLamps()
{
    m_lamps.set(LinkLamp::Xon, LampColors::Off);
    m_lamps.set(LinkLamp::Xoff, LampColors::Off);
}

} // namespace velmora
