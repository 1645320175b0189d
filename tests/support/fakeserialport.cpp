#include "tests/support/fakeserialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

OpenResult FakeSerialPort::openDevice(const QString &device, const LineSettings &settings)
{
    m_device = device;
    if (!m_failure.ok()) {
        m_calls.append(u"open-failed "_s + device + u' ' + QString::number(m_failure.error));
        if (m_failure.text.isEmpty())
            return {m_failure.error, device + u" cannot be opened"_s};
        return m_failure;
    }
    m_open = true;
    m_calls.append(u"open "_s + device + u' ' + settings.text());
    return {};
}

void FakeSerialPort::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_calls.append(u"close"_s);
}

void FakeSerialPort::setDtr(bool on)
{
    m_dtr = on;
    m_calls.append(on ? u"dtr 1"_s : u"dtr 0"_s);
}

void FakeSerialPort::setRts(bool on)
{
    m_rts = on;
    m_calls.append(on ? u"rts 1"_s : u"rts 0"_s);
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    if (!m_writeFailure.isEmpty()) {
        setWriteError(m_writeFailure);
        return false;
    }
    m_writes.append(bytes);
    m_calls.append(u"write "_s + QString::number(bytes.size()));
    return true;
}

bool FakeSerialPort::receive(const QByteArray &bytes)
{
    if (!m_open || bytes.isEmpty())
        return false;
    emit received(bytes);
    return true;
}

void FakeSerialPort::setCts(bool high)
{
    const bool changed = high != m_cts;
    m_cts = high;
    if (changed && m_open)
        emit ctsChanged(high);
}

void FakeSerialPort::ring()
{
    if (m_open)
        emit ringDetected();
}

void FakeSerialPort::raiseLineError(LineError error)
{
    if (m_open)
        emit lineError(error);
}

void FakeSerialPort::vanish(const QString &reason)
{
    if (!m_open)
        return;
    m_open = false;
    m_calls.append(u"vanished"_s);
    emit vanished(m_device + u" is gone ("_s + reason + u')');
}

} // namespace velmora
