#include "settings/calibration.h"

#include "common/numbers.h"

#include <cmath>

namespace velmora {

std::optional<float> calibrationValue(QStringView text)
{
    const auto inRange = [](double n) {
        return n > Calibration::Lowest && n < Calibration::Highest;
    };
    const double n = leadingNumber(text);
    if (!std::isfinite(n) || !inRange(n))
        return std::nullopt;
    // The range holds for the value kept and for the text it is written as,
    // so a value accepted now is accepted at the next start: 9999.9999 is
    // 10000 in single precision, and 10.000001 is written as 10.
    const float kept = static_cast<float>(n);
    if (!inRange(kept) || !inRange(leadingNumber(singleText(kept))))
        return std::nullopt;
    return kept;
}

} // namespace velmora
