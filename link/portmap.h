#pragma once

#include "platform/serialport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

namespace velmora {

// What a port name resolves to.
struct PortResolution
{
    QString device;         // empty when no device belongs to the name
    bool mapped = false;    // the device comes from a line of the port map
    QString problem;        // why no device belongs to the name, for the log
    QString problemCaption; // the same in the window's language, for the window

    bool ok() const { return !device.isEmpty(); }
};

// The port map: the text file "ports.map" in the settings folder binds the
// port names COM1 to COM6 to devices, one line each:
//
//     # USB adapter of the punch
//     COM1 /dev/serial/by-id/usb-FTDI_FT232R-if00-port0
//     COM2 /dev/ttyS0
//
// "#" starts a comment that runs to the end of the line; blank lines and
// lines that are not a port name followed by a device are ignored. A device
// without a "/" names a file in /dev. The last line for a name counts. Lines
// may end in LF, CR LF or CR.
//
// A name without a line means the n-th serial port present on the computer
// (COM1 the first): USB adapters first, then the other ports, each group
// sorted by name with numbers in numeric order (ttyUSB2 before ttyUSB10).
// A name that resolves to no device is reported as PortError::NotFound.
class PortMap
{
public:
    static constexpr int PortCount = 6;

    static QString fileName() { return QStringLiteral("ports.map"); }

    static PortMap parse(QStringView text);
    // Reads the map in filePath; a missing or unreadable file is an empty map.
    static PortMap load(const QString &filePath);

    // The port number (1 to 6) of a name "COM1" to "COM6", in any case;
    // 0 for anything else.
    static int portNumber(QStringView name);
    // "COM1" to "COM6".
    static QString portName(int port);

    // One line of a map's text.
    struct TextLine
    {
        QStringView content; // without its line end
        QStringView end;     // "\n", "\r\n", "\r" or empty for a last line without one
        int port = 0;        // the port the line binds, 0 for a blank, comment or bad line
    };
    static QList<TextLine> lines(QStringView text);

    // The device mapped to port 1 to 6; empty when the map has no line for it.
    QString mappedDevice(int port) const;

    PortResolution resolve(int port, const QList<PresentPort> &present) const;

    // The devices of the present ports in the order COM1, COM2, ... take them.
    static QStringList orderPresent(QList<PresentPort> present);

private:
    std::array<QString, PortCount> m_devices;
};

} // namespace velmora
