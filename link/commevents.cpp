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
    connect(&port, &SerialPort::received, this,
            [this](const QByteArray &bytes) { onComm(CommEvent::Received, bytes); });
    connect(&port, &SerialPort::ctsChanged, this, [this] { onComm(CommEvent::CtsChanged); });
    connect(&port, &SerialPort::dsrChanged, this, [this] { onComm(CommEvent::DsrChanged); });
    connect(&port, &SerialPort::cdChanged, this, [this] { onComm(CommEvent::CdChanged); });
    connect(&port, &SerialPort::ringDetected, this, [this] { onComm(CommEvent::Ring); });
    connect(&port, &SerialPort::lineError, this,
            [this](LineError error) { onComm(static_cast<int>(error)); });
    // Not one of the port's events, but the operator has to know.
    connect(&port, &SerialPort::transferFailed, this,
            [this](const QString &reason) { m_log.writeLog(reason); });
}

void CommEvents::takeCts(bool high)
{
    m_clearToSend = high;
    m_lamps.setLine(LinkLamp::Cts, high);
}

QString CommEvents::eventText(int commEvent)
{
    switch (commEvent) {
    case CommEvent::EndOfFile:
        return u"[End of File Detected]"_s;
    case CommEvent::Break:
        return u"[Break Received]"_s;
    case CommEvent::CtsTimeout:
        return u"[CTS Timeout]"_s;
    case CommEvent::DsrTimeout:
        return u"[DSR Timeout]"_s;
    case CommEvent::Framing:
        return u"[Framing Error]"_s;
    case CommEvent::Overrun:
        return u"[Overrun Error]"_s;
    case CommEvent::CdTimeout:
        return u"[Carrier Detect Timeout]"_s;
    case CommEvent::ReceiveOverflow:
        return u"[Receive Buffer Overflow]"_s;
    case CommEvent::Parity:
        return u"[Parity Error]"_s;
    case CommEvent::TransmitFull:
        return u"[Transmit Buffer Full]"_s;
    case CommEvent::ControlBlock:
        return u"[Error retrieving DCB]"_s;
    default:
        return {};
    }
}

void CommEvents::onComm(int commEvent, const QByteArray &input)
{
    m_lamps.set(LinkLamp::Ri, LampColors::Off);
    switch (commEvent) {
    case CommEvent::Sent:
        break;
    case CommEvent::Received:
        receive(input);
        break;
    case CommEvent::CtsChanged:
        takeCts(m_port.cts());
        break;
    case CommEvent::DsrChanged:
        m_lamps.setLine(LinkLamp::Dsr, m_port.dsr());
        break;
    case CommEvent::CdChanged:
        m_lamps.setLine(LinkLamp::Cd, m_port.cd());
        break;
    case CommEvent::Ring:
        m_lamps.set(LinkLamp::Ri, LampColors::Red);
        break;
    default: {
        QString text = eventText(commEvent);
        if (text.isEmpty())
            text = u"[Unknown error or event: "_s + QString::number(commEvent) + u']';
        m_log.writeLog(text);
        break;
    }
    }
}

void CommEvents::receive(const QByteArray &input)
{
    if (input.isEmpty())
        return;
    m_rxBuffer += QString::fromLatin1(input);

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
    qsizetype start = 0;
    for (qsizetype cr = m_rxBuffer.indexOf(u'\r'); cr >= 0; cr = m_rxBuffer.indexOf(u'\r', start)) {
        m_rxLine += QStringView(m_rxBuffer).sliced(start, cr - start);
        if (!m_rxLine.isEmpty())
            m_log.writeLog(u"Recvd: "_s + m_rxLine, u"r"_s);
        m_rxLine.clear();
        start = cr + 1;
    }
    m_rxLine += QStringView(m_rxBuffer).sliced(start);
    m_rxBuffer.clear();
    if (m_rxLine.size() > RxLineBound) {
        m_log.writeLog(u"Recvd: "_s + m_rxLine, u"r"_s);
        m_rxLine.clear();
    }
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
    m_rxBuffer.clear();
    m_rxLine.clear();
}

void CommEvents::resetFlowControlLamps()
{
    m_lamps.set(LinkLamp::Xon, LampColors::Off);
    m_lamps.set(LinkLamp::Xoff, LampColors::Off);
}

} // namespace velmora
