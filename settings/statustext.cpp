#include "settings/statustext.h"

#include "common/numbers.h"

#include <QCoreApplication>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// The status display speaks the window's language.
struct Status
{
    Q_DECLARE_TR_FUNCTIONS(velmora::StatusText)
};

} // namespace

QString statusText(const StatusValues &values)
{
    const QStringList lines = {
        values.formatName,
        values.formatDescription,
        QString(),
        Status::tr("Xcalibration: %1").arg(singleText(values.xCalibration).trimmed()),
        Status::tr("Ycalibration: %1").arg(singleText(values.yCalibration).trimmed()),
        QString(),
        (values.portOpen ? Status::tr("Port: %1 (open)") : Status::tr("Port: %1 (closed)"))
            .arg(values.port),
        Status::tr("Baud: %1").arg(values.baud),
        Status::tr("Parity: %1").arg(values.parity),
        Status::tr("Stopbits: %1").arg(values.stopBits),
    };
    return lines.join(u"\r\n"_s);
}

} // namespace velmora
