#include "tests/support/fakeserialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

QString bit(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

} // namespace

FakeSerialPort::FakeSerialPort(QObject *parent) : SerialPort(parent) {}

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
    m_settings = settings;
    ++m_openCount;
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
    m_calls.append(u"dtr "_s + bit(on));
}

void FakeSerialPort::setRts(bool on)
{
    m_rts = on;
    m_calls.append(u"rts "_s + bit(on));
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    m_written += bytes;
    m_writes.append(bytes);
    m_calls.append(u"write "_s + QString::number(bytes.size()));
    return true;
}

void FakeSerialPort::failOpens(int error, const QString &text)
{
    m_failure = {error, text};
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

void FakeSerialPort::setDsr(bool high)
{
    const bool changed = high != m_dsr;
    m_dsr = high;
    if (changed && m_open)
        emit dsrChanged(high);
}

void FakeSerialPort::setCd(bool high)
{
    const bool changed = high != m_cd;
    m_cd = high;
    if (changed && m_open)
        emit cdChanged(high);
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

void FakeSerialPort::failTransfer(const QString &reason)
{
    if (m_open)
        emit transferFailed(reason);
}

void FakeSerialPort::vanish(const QString &reason)
{
    if (!m_open)
        return;
    m_open = false;
    m_calls.append(u"vanished"_s);
    emit vanished(m_device + u" is gone ("_s + reason + u')');
}

void FakeSerialPort::clearWritten()
{
    m_written.clear();
    m_writes.clear();
}

} // namespace velmora
