#pragma once

#include <QStringView>

#include <optional>

namespace velmora {

// The calibration entries txtXcal and txtYcal: a factor in thousandths is
// accepted when its number n satisfies 10 < n < 10000, both bounds excluded.
namespace Calibration {
inline constexpr double Lowest = 10.0;     // excluded
inline constexpr double Highest = 10000.0; // excluded
} // namespace Calibration

// The factor an entry's text gives, rounded to single precision; nothing when
// the number is out of range, including numbers too large to represent, or
// when the value kept or the text it is written as in the settings file is.
std::optional<float> calibrationValue(QStringView text);

} // namespace velmora
