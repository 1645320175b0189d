#include "settings/calibration.h"

#include "common/numbers.h"

#include <cmath>

namespace velmora {

std::optional<float> calibrationValue(QStringView text)
{
    const double n = leadingNumber(text);
    if (!std::isfinite(n) || !(n > Calibration::Lowest && n < Calibration::Highest))
        return std::nullopt;
    return static_cast<float>(n);
}

} // namespace velmora
