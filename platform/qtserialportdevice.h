#pragma once

#include "platform/serialport.h"

#include <QList>
#include <QSerialPort>
#include <QTimer>

namespace velmora {

// Who may use a device file, as far as an open failure needs to know.
struct DeviceAccess
{
    bool exists = false;
    int accessErrno = 0;            // errno of access() for reading and writing; 0: allowed
    QString user;                   // the user running the program
    QString group;                  // the group owning the device
    bool userListedInGroup = false; // the system's group list names the user
    bool processInGroup = false;    // this process runs with that group
};

// Looks at the device file and at the user's groups.
DeviceAccess probeDeviceAccess(const QString &device);

// The number and text of a failed QSerialPort::open. A second open of a
// locked device and a device without access rights both give PermissionError,
// so the access rights decide between PortError::InUse and
// PortError::PermissionDenied.
OpenResult openFailure(QSerialPort::SerialPortError error, const QString &errorText,
                       const QString &device, const DeviceAccess &access);

// The serial ports the system lists, in its own order.
QList<PresentPort> presentSerialPorts();

// A SerialPort on QSerialPort. The modem lines are polled every ModemPollMs
// while open, since QSerialPort has no signal for them; on a device without
// modem lines (a pseudo-terminal) the polling stops at the first refusal and
// the lines read low, and the data bits and parity it cannot take are no
// reason to refuse the open.
class QtSerialPortDevice final : public SerialPort
{
    Q_OBJECT
public:
    static constexpr int ModemPollMs = 20;

    explicit QtSerialPortDevice(QObject *parent = nullptr);
    ~QtSerialPortDevice() override;

    void close() override;
    bool isOpen() const override { return m_port.isOpen() && !m_vanishing; }
    QString device() const override { return m_device; }
    void setDtr(bool on) override;
    void setRts(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    bool cts() const override { return m_cts; }
    bool dsr() const override { return m_dsr; }
    bool cd() const override { return m_cd; }
    bool write(const QByteArray &bytes) override;

protected:
    OpenResult openDevice(const QString &device, const LineSettings &settings) override;

private:
    bool applySettings(const LineSettings &settings);
    void applyDtr();
    void applyRts();
    void readAvailable();
    void pollModemLines(bool notify);
    void handleError(QSerialPort::SerialPortError error);
    void reportVanished(const QString &reason);
    void resetLines();

    QSerialPort m_port;
    QTimer m_modemPoll;
    QString m_device;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_cts = false;
    bool m_dsr = false;
    bool m_cd = false;
    bool m_ring = false;
    bool m_opening = false;     // errors belong to the open in progress
    bool m_unsupported = false; // the last modem-line call was refused
    bool m_vanishing = false;   // the device is gone; the close is on its way
    bool m_readFailureReported = false;
    QString m_lastError; // the text of the last error reported while open
};

} // namespace velmora
