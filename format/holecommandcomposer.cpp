#include "format/holecommandcomposer.h"

#include "common/numbers.h"

#include <QLatin1StringView>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace velmora {

namespace {

// What a number field of the hole holds and how it is scaled.
struct NumberField
{
    qint32 value = 0;
    float factor = 0.0f;
};

bool numberField(int code, const Hole &hole, float xCal, float yCal, NumberField &field)
{
    switch (code) {
    case XBeginField:
        field = {hole.xBegin, xCal};
        return true;
    case KeynumField:
        field = {hole.keynum, 0.0f};
        return true;
    case XEndField:
        field = {hole.xEnd, xCal};
        return true;
    case YPosField:
        field = {hole.yPos, yCal};
        return true;
    case KeywidthField:
        field = {hole.keywidth, yCal};
        return true;
    case XNextField:
        field = {hole.xNext, xCal};
        return true;
    case TracknumField:
        field = {hole.tracknum, 0.0f};
        return true;
    default:
        return false;
    }
}

QString scaledText(double scaled)
{
    if (std::isnan(scaled))
        return QStringLiteral("not a number");
    if (std::isinf(scaled))
        return scaled > 0 ? QStringLiteral("infinite") : QStringLiteral("-infinite");
    return QString::number(scaled, 'f', 0);
}

QString fieldFailure(int holeIndex, int code, qint16 length, const NumberField &field)
{
    const QStringView name = fieldListText(code);
    if (length > HoleCommandComposer::MaxFieldDigits)
        return QStringLiteral("hole %1: %2 field length %3 is more than %4 digits")
            .arg(holeIndex)
            .arg(name)
            .arg(length)
            .arg(HoleCommandComposer::MaxFieldDigits);
    return QStringLiteral("hole %1: %2 %3 scaled by %4 gives %5, which does not fit in 32 bits")
        .arg(holeIndex)
        .arg(name)
        .arg(field.value)
        .arg(singleText(field.factor),
             scaledText(HoleCommandComposer::scaledNumber(field.value, field.factor)));
}

} // namespace

HoleCommandComposer::HoleCommandComposer(const HoleList &holes) : m_holes(holes) {}

double HoleCommandComposer::scaledNumber(qint32 value, float factor)
{
    // 1000 leaves every value as it is, also one that single precision
    // cannot hold exactly.
    if (factor == 0.0f || factor == 1000.0f)
        return value;
    const double product = double(value) * double(factor);
    // A product beyond the single-precision range stays unrounded; it is far
    // outside the 32-bit range either way.
    if (std::abs(product) > double(std::numeric_limits<float>::max()))
        return product / 1000.0;
    return double(float(product)) / 1000.0;
}

bool HoleCommandComposer::appendNumberField(QString &line, qint32 value, qint16 length,
                                            float factor)
{
    if (length > MaxFieldDigits)
        return false;
    qint64 n = value;
    if (factor != 0.0f) {
        const double scaled = scaledNumber(value, factor);
        if (!fitsInt32(scaled))
            return false;
        n = roundHalfEven(scaled);
    }

    char buffer[16];
    if (length < 2) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
        line += QLatin1StringView(buffer, end - buffer);
        return true;
    }

    // Ten digits of the magnitude, zero-padded; the field takes the last ones.
    qint64 magnitude = n < 0 ? -n : n;
    char digits[MaxFieldDigits];
    for (int i = MaxFieldDigits - 1; i >= 0; --i) {
        digits[i] = char('0' + magnitude % 10);
        magnitude /= 10;
    }
    int taken = length;
    if (n < 0) {
        line += QLatin1Char('-');
        --taken;
    }
    line += QLatin1StringView(digits + MaxFieldDigits - taken, taken);
    return true;
}

ComposedLine HoleCommandComposer::composeHoleCommand(int holeIndex) const
{
    ComposedLine result;
    if (holeIndex < 1 || holeIndex > m_holes.holeCount()) {
        result.error = QStringLiteral("hole %1 is not in the list of %2 holes")
                           .arg(holeIndex)
                           .arg(m_holes.holeCount());
        return result;
    }
    const Hole &hole = m_holes.hole(holeIndex);
    QString &line = result.text;
    line.reserve(64);

    for (int k = 0; k < OutputFormat::Slots; ++k) {
        const int code = m_format.fieldCode[k];
        const qint16 length = m_format.fieldLength[k];
        if (code == EmptySlot)
            break;
        if (k > 0)
            line += QLatin1Char(',');

        NumberField field;
        if (numberField(code, hole, m_xCalibration, m_yCalibration, field)) {
            if (!appendNumberField(line, field.value, length, field.factor)) {
                result.text.clear();
                result.error = fieldFailure(holeIndex, code, length, field);
                return result;
            }
        } else if (code == DollarField) {
            line += QLatin1Char('$');
        } else if (code == ZeroesField) {
            line += QLatin1StringView("0000000000", qBound(0, int(length), MaxFieldDigits));
        }
        // Any other code, field1 to field7 among them, adds nothing: its field
        // stays empty between commas.
    }
    return result;
}

} // namespace velmora
