#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// A pseudo-terminal whose far end (the slave device) plays a serial port.
// The slave is kept open here too, in raw mode (no echo, no CR or LF
// translation, no flow control), so the master never sees the other side
// hang up when a program closes and reopens the device.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // False with the reason in error when the system refuses.
    bool open(QString *error);

    QString devicePath() const { return m_devicePath; }
    int masterHandle() const { return m_master; }

    // Everything the other side has written so far; empty when nothing.
    QByteArray readAvailable();
    // Writes without blocking; bytes the device cannot take (nobody reads it
    // and its buffer is full) are dropped. False when bytes were dropped.
    bool write(const QByteArray &bytes);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
};

} // namespace velmora
