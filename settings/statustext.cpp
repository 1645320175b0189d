#include "settings/statustext.h"

#include "common/numbers.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace velmora {

QString statusText(const StatusValues &values)
{
    const QStringList lines = {
        values.formatName,
        values.formatDescription,
        QString(),
        u"Xcalibration: "_s + singleText(values.xCalibration).trimmed(),
        u"Ycalibration: "_s + singleText(values.yCalibration).trimmed(),
        QString(),
        u"Port: "_s + values.port + (values.portOpen ? u" (open)"_s : u" (closed)"_s),
        u"Baud: "_s + values.baud,
        u"Parity: "_s + values.parity,
        u"Stopbits: "_s + values.stopBits,
    };
    return lines.join(u"\r\n"_s);
}

} // namespace velmora
