#include "settings/calibrationentries.h"

#include "format/holecommandcomposer.h"
#include "settings/calibration.h"

namespace velmora {

CalibrationEntries::CalibrationEntries(HoleCommandComposer &composer, QObject *parent)
    : QObject(parent), m_composer(composer)
{}

void CalibrationEntries::enter(Axis axis, const QString &text)
{
    m_texts[index(axis)] = text;
    if (const std::optional<float> value = calibrationValue(text))
        axis == Axis::X ? m_composer.setXCalibration(*value) : m_composer.setYCalibration(*value);
    emit entered(axis);
}

bool CalibrationEntries::valid(Axis axis) const
{
    return calibrationValue(text(axis)).has_value();
}

float CalibrationEntries::factor(Axis axis) const
{
    return axis == Axis::X ? m_composer.XCalibration() : m_composer.YCalibration();
}

} // namespace velmora
