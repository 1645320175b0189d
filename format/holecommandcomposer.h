#pragma once

#include "format/outputformat.h"
#include "prt/holelist.h"

#include <QString>
#include <QtGlobal>

namespace velmora {

// The command line composed for one hole, or the reason it cannot be composed.
// A line that failed is never to be sent: its text is empty.
struct ComposedLine
{
    QString text;  // the fields and their commas, no line end
    QString error; // empty when the line is sound

    bool ok() const { return error.isEmpty(); }
};

// Turns holes of a hole list into command lines in the current output format,
// scaling positions along the paper by XCalibration and those across it by
// YCalibration (thousandths: 1000 leaves a value as it is, 1250 multiplies it
// by 1.25). keynum and tracknum are never scaled.
class HoleCommandComposer
{
public:
    // Widest fixed-width number field, and most zeros a zeroes field writes.
    static constexpr int MaxFieldDigits = 10;
    static constexpr float DefaultCalibration = 1000.0f;

    // The composer reads the holes at composition time; the list must outlive it.
    explicit HoleCommandComposer(const HoleList &holes);

    const OutputFormat &format() const { return m_format; }
    void setFormat(const OutputFormat &format) { m_format = format; }

    float XCalibration() const { return m_xCalibration; }
    float YCalibration() const { return m_yCalibration; }
    void setXCalibration(float factor) { m_xCalibration = factor; }
    void setYCalibration(float factor) { m_yCalibration = factor; }

    // The line for hole holeIndex (1 to holeCount): the fields of the current
    // format separated by commas. A format without fields gives the empty line.
    // Fails, with a reason naming the hole and the field, when the hole is not
    // in the list, a number field is longer than ten digits or a scaled value
    // does not fit in 32 bits.
    ComposedLine composeHoleCommand(int holeIndex) const;

    // Appends one number field to line. The value is scaled first unless factor
    // is 0 or 1000: value x factor in double precision, rounded to single precision,
    // divided by 1000 and rounded to the nearest whole number, halves to even.
    // Lengths 2 to 10 give a fixed width of that many characters: the last
    // `length` digits of the ten-digit zero-padded number, or for a negative
    // number "-" and the last length - 1 digits, so the width always holds.
    // Lengths 1, 0 and negative write the number as it is. Returns false and
    // appends nothing when length is above 10 or the scaled number does not fit
    // in 32 bits.
    static bool appendNumberField(QString &line, qint32 value, qint16 length, float factor);

    // The scaled number before the final rounding; value itself for factor 0
    // and for 1000.
    static double scaledNumber(qint32 value, float factor);

private:
    const HoleList &m_holes;
    OutputFormat m_format;
    float m_xCalibration = DefaultCalibration;
    float m_yCalibration = DefaultCalibration;
};

} // namespace velmora
