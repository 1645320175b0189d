#include "platform/serialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

OpenResult SerialPort::open(const QString &device, const LineSettings &settings)
{
    if (isOpen())
        return {PortError::InUse, this->device() + u" is already open on this port"_s};
    return openDevice(device, settings);
}

OpenResult SerialPort::open(const QString &device, QStringView settingsText)
{
    const auto settings = LineSettings::parse(settingsText);
    if (!settings) {
        return {PortError::BadSettings,
                u"The line settings \""_s + settingsText.toString() + u"\" are not understood"_s};
    }
    return open(device, *settings);
}

} // namespace velmora
