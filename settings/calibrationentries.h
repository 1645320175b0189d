#pragma once

#include <QObject>
#include <QString>

namespace velmora {

class HoleCommandComposer;

// The calibration entries txtXcal and txtYcal: the text each holds and the
// factor it gives the hole commands. Whatever enters a text, the operator's
// typing or the parameter file, goes through enter(): a number the check
// accepts sets the factor, any other leaves it as it was, and the entry shows
// the text coloured by the check.
class CalibrationEntries : public QObject
{
    Q_OBJECT
public:
    enum class Axis
    {
        X, // along the paper, txtXcal
        Y, // across it, the arm, txtYcal
    };

    explicit CalibrationEntries(HoleCommandComposer &composer, QObject *parent = nullptr);

    void enter(Axis axis, const QString &text);

    QString text(Axis axis) const { return m_texts[index(axis)]; }
    // The text passes the check.
    bool valid(Axis axis) const;
    float factor(Axis axis) const;

signals:
    // A text was entered: the entry shows it.
    void entered(velmora::CalibrationEntries::Axis axis);

private:
    static int index(Axis axis) { return axis == Axis::X ? 0 : 1; }

    HoleCommandComposer &m_composer;
    QString m_texts[2] = {QStringLiteral("1000"), QStringLiteral("1000")};
};

} // namespace velmora
