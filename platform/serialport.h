#pragma once

#include "platform/linesettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringView>

namespace velmora {

// Error numbers of a failed open. 8002 and 8005 are the numbers the log and
// the operators know; the others are this program's own and stay as they are.
namespace PortError {
inline constexpr int None = 0;
inline constexpr int NotFound = 8002;         // no such device (adapter unplugged, wrong path,
                                              // or no device for the port name)
inline constexpr int InUse = 8005;            // open in another program or another port object,
                                              // or already open here
inline constexpr int PermissionDenied = 8010; // no read and write access to the device
inline constexpr int BadSettings = 8011;      // settings text not understood, or refused by the
                                              // device
inline constexpr int NotSerial = 8012;        // the path is no serial device
inline constexpr int Other = 8015;            // any other failure; the text says which
} // namespace PortError

// The outcome of SerialPort::open: 0 for success, otherwise a PortError
// number and a text that names the device and the system's reason, written
// for the operator.
struct OpenResult
{
    int error = PortError::None;
    QString text;

    bool ok() const { return error == PortError::None; }
};

// What the line reports through lineError(): its errors and the arrival of
// an end-of-file character. The numbers are the communication event numbers
// the log knows them by; a number without a name here is logged as unknown.
// QSerialPort on Linux reports none of them; the fake port raises them for
// tests.
enum class LineError : int
{
    EndOfFile = 7,
    Break = 1001,
    CtsTimeout = 1002,
    DsrTimeout = 1003,
    Framing = 1004,
    Overrun = 1006,
    CdTimeout = 1007,
    ReceiveOverflow = 1008,
    Parity = 1009,
    TransmitFull = 1010,
    ControlBlock = 1011, // reading the port's control block failed
};

// A serial port present on this computer, as the system lists it.
struct PresentPort
{
    QString device;          // "/dev/ttyUSB0"
    bool usbAdapter = false; // a USB serial adapter (or a USB modem, ttyACM)
};

// One serial port: opened on a device with line settings, flow control off
// so that Xon and Xoff arrive as data. Everything happens on the owner's
// thread; received bytes and line changes arrive as signals from the event
// loop, never from inside a call of this class.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    explicit SerialPort(QObject *parent = nullptr) : QObject(parent) {}

    // Opens the device. DTR and RTS take the states last given to setDtr and
    // setRts. An open port is not opened again: that gives PortError::InUse.
    OpenResult open(const QString &device, const LineSettings &settings);
    // The same with a settings text such as "9600,N,8,1"; a text that
    // LineSettings::parse refuses gives PortError::BadSettings.
    OpenResult open(const QString &device, QStringView settingsText);

    // Closes the port; nothing happens when it is closed. DTR and RTS keep
    // their wanted states for the next open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The device of the last open that got as far as the device, successful
    // or not.
    virtual QString device() const = 0;

    // DTR and RTS: applied at once while open and at every open. A device
    // without modem lines (a pseudo-terminal) ignores them without an error.
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual bool dtr() const = 0;
    virtual bool rts() const = 0;

    // The incoming modem lines; false while closed and on a device without
    // modem lines.
    virtual bool cts() const = 0;
    virtual bool dsr() const = 0;
    virtual bool cd() const = 0;

    // Queues bytes for sending; false (and nothing sent) while closed, or
    // when the device refuses them: writeError() then says why.
    virtual bool write(const QByteArray &bytes) = 0;
    // Why the last write() on the open port failed, naming the device and the
    // system's reason.
    QString writeError() const { return m_writeError; }

signals:
    // One batch of received bytes, never empty.
    void received(const QByteArray &bytes);
    // A modem line changed while open; the argument is its new state.
    void ctsChanged(bool high);
    void dsrChanged(bool high);
    void cdChanged(bool high);
    // The ring indicator came on.
    void ringDetected();
    // The line reported an error; the port stays open.
    void lineError(velmora::LineError error);
    // Reading or writing failed but the device is still there; the port
    // stays open.
    void transferFailed(const QString &reason);
    // The device went away (adapter unplugged, other end gone). The port is
    // already closed when this is emitted, once per open.
    void vanished(const QString &reason);

protected:
    virtual OpenResult openDevice(const QString &device, const LineSettings &settings) = 0;
    void setWriteError(const QString &reason) { m_writeError = reason; }

private:
    QString m_writeError;
};

} // namespace velmora
