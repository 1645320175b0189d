#pragma once

#include "platform/serialport.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <utility>

namespace velmora {

// An in-process SerialPort for tests. It records what the program does with it
// and lets the test play the device: bytes arriving, CTS changing, line errors,
// a refused open, the device vanishing, all emitted from inside the test's call.
class FakeSerialPort final : public SerialPort
{
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    // --- what the program sees
    void close() override
    {
        if (std::exchange(m_open, false))
            m_calls.append(QStringLiteral("close"));
    }
    bool isOpen() const override { return m_open; }
    QString device() const override { return m_device; }
    void setDtr(bool on) override { m_calls.append(QStringLiteral("dtr %1").arg(int(m_dtr = on))); }
    void setRts(bool on) override { m_calls.append(QStringLiteral("rts %1").arg(int(m_rts = on))); }
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    bool cts() const override { return m_open && m_cts; }
    bool dsr() const override { return false; }
    bool cd() const override { return false; }
    bool write(const QByteArray &bytes) override
    {
        if (!m_open)
            return false;
        if (!m_writeFailure.isEmpty()) {
            setWriteError(m_writeFailure);
            return false;
        }
        m_writes.append(bytes);
        m_calls.append(QStringLiteral("write ") + QString::number(bytes.size()));
        return true;
    }

    // --- what the test does
    // Opens fail with this number and "DEVICE cannot be opened" until PortError::None.
    void failOpens(int error) { m_failure = error; }
    // Writes on the open port fail for this reason until an empty one.
    void failWrites(const QString &reason) { m_writeFailure = reason; }
    // Delivers one received batch; false (nothing delivered) while closed or for no bytes.
    bool receive(const QByteArray &bytes)
    {
        const bool delivered = m_open && !bytes.isEmpty();
        if (delivered)
            emit received(bytes);
        return delivered;
    }
    // Sets CTS, signalled while open; it holds across opens, as devices keep their lines.
    void setCts(bool high)
    {
        if (std::exchange(m_cts, high) != high && m_open)
            emit ctsChanged(high);
    }
    void ring()
    {
        if (m_open)
            emit ringDetected();
    }
    void raiseLineError(LineError error)
    {
        if (m_open)
            emit lineError(error);
    }
    // The device goes away: the port closes and vanished() is emitted.
    void vanish(const QString &reason = QStringLiteral("device unplugged"))
    {
        if (!std::exchange(m_open, false))
            return;
        m_calls.append(QStringLiteral("vanished"));
        emit vanished(m_device + QStringLiteral(" is gone (") + reason + u')');
    }

    // --- what the test checks
    QByteArray written() const { return m_writes.join(); } // every byte, in order
    QList<QByteArray> writes() const { return m_writes; }  // one entry per write()
    // One entry per call that reached the device, in order: "open DEVICE
    // SETTINGS", "open-failed DEVICE NUMBER", "close", "dtr 1", "rts 0",
    // "write N", "vanished".
    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

protected:
    OpenResult openDevice(const QString &device, const LineSettings &settings) override
    {
        m_device = device;
        if (m_failure != PortError::None) {
            m_calls.append(QStringLiteral("open-failed %1 %2").arg(device).arg(m_failure));
            return {m_failure, device + QStringLiteral(" cannot be opened")};
        }
        m_open = true;
        m_calls.append(QStringLiteral("open %1 %2").arg(device, settings.text()));
        return {};
    }

private:
    bool m_open = false, m_dtr = false, m_rts = false, m_cts = false;
    QString m_device, m_writeFailure;
    int m_failure = PortError::None;
    QList<QByteArray> m_writes;
    QStringList m_calls;
};

} // namespace velmora
