#pragma once

#include <QString>

namespace velmora {

// What the status display lblStatus summarises, read at the moment it is
// rebuilt.
struct StatusValues
{
    QString formatName;        // the selected entry of the format list
    QString formatDescription; // the text of lblFormat
    float xCalibration = 1000.0f;
    float yCalibration = 1000.0f;
    QString port; // the selected entries of the port choice lists
    bool portOpen = false;
    QString baud;
    QString parity;
    QString stopBits;
};

// The ten lines of the status display joined by CR LF, without a line end
// after the last: format name, format description, an empty line, the two
// calibration values, an empty line, port with its state, baud rate, parity
// and stop bits. The data bits are not shown.
QString statusText(const StatusValues &values);

} // namespace velmora
