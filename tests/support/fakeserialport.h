#pragma once

#include "platform/serialport.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace velmora {

// An in-process SerialPort for tests. It records what the program does with
// it and lets the test play the device: bytes arriving, modem lines changing,
// line errors, a refused open, the device vanishing. Everything is emitted
// at once, from inside the test's call.
class FakeSerialPort final : public SerialPort
{
    Q_OBJECT
public:
    explicit FakeSerialPort(QObject *parent = nullptr);

    // --- what the program sees
    void close() override;
    bool isOpen() const override { return m_open; }
    QString device() const override { return m_device; }
    void setDtr(bool on) override;
    void setRts(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    bool cts() const override { return m_open && m_cts; }
    bool dsr() const override { return m_open && m_dsr; }
    bool cd() const override { return m_open && m_cd; }
    bool write(const QByteArray &bytes) override;

    // --- what the test does
    // The following opens fail with this number and text (by default
    // "DEVICE cannot be opened"), until cleared with PortError::None.
    void failOpens(int error, const QString &text = QString());
    // Delivers bytes as one received batch; false (nothing delivered) while
    // closed or for no bytes.
    bool receive(const QByteArray &bytes);
    // Sets a modem line; while open, a change raises its signal. The states
    // hold across opens, as the other device keeps its lines.
    void setCts(bool high);
    void setDsr(bool high);
    void setCd(bool high);
    void ring();
    void raiseLineError(LineError error);
    void failTransfer(const QString &reason);
    // The device goes away: the port closes and vanished() is emitted.
    void vanish(const QString &reason = QStringLiteral("device unplugged"));

    // --- what the test checks
    QByteArray written() const { return m_written; }      // every byte, in order
    QList<QByteArray> writes() const { return m_writes; } // one entry per write()
    void clearWritten();
    // One entry per call that reached the device, in order: "open DEVICE
    // SETTINGS", "open-failed DEVICE NUMBER", "close", "dtr 1", "rts 0",
    // "write N".
    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    LineSettings settings() const { return m_settings; }
    int openCount() const { return m_openCount; }

protected:
    OpenResult openDevice(const QString &device, const LineSettings &settings) override;

private:
    bool m_open = false;
    QString m_device;
    LineSettings m_settings;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_cts = false;
    bool m_dsr = false;
    bool m_cd = false;
    OpenResult m_failure;
    int m_openCount = 0;
    QByteArray m_written;
    QList<QByteArray> m_writes;
    QStringList m_calls;
};

} // namespace velmora
