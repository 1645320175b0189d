#include "format/outputformat.h"

#include "common/numbers.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

namespace {

// The editor's list and the descriptions speak the window's language.
struct Caption
{
    Q_DECLARE_TR_FUNCTIONS(velmora::OutputFormat)
};

constexpr std::array<QStringView, FieldCodeCount> listTexts = {
    u"$",        u"zeroes", u"X-begin", u"keynum", u"X-end",  u"Y-pos",  u"keywidth", u"X-next",
    u"tracknum", u"field1", u"field2",  u"field3", u"field4", u"field5", u"field6",   u"field7",
};

// Most zeros a zeroes field writes.
constexpr int MaxZeroes = 10;

qint16 readPair(QStringView text, int slot, bool lengthText)
{
    const QStringView pair = text.mid(2 * slot, 2);
    if (pair == u"**")
        return LengthEmpty;
    if (lengthText && pair == u"--")
        return LengthAsIs;
    // A pair of two characters holds at most 99 and at least -9.
    return static_cast<qint16>(roundHalfEven(leadingNumber(pair)));
}

QString writePair(qint16 value, bool lengthText)
{
    if (value == LengthEmpty)
        return QStringLiteral("**");
    if (lengthText && value == LengthAsIs)
        return QStringLiteral("--");
    const int v = std::clamp<int>(value, -9, 99);
    return v < 0 ? QString::number(v) : QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QStringView fieldListText(int code)
{
    if (code < 0 || code >= FieldCodeCount)
        return {};
    return listTexts[code];
}

QString fieldCaption(int code)
{
    if (code == ZeroesField)
        return Caption::tr("zeroes");
    if (code >= Field1 && code <= Field7)
        return Caption::tr("field%1").arg(code - Field1 + 1);
    return fieldListText(code).toString();
}

QStringList fieldCaptions()
{
    QStringList texts;
    texts.reserve(FieldCodeCount);
    for (int code = 0; code < FieldCodeCount; ++code)
        texts.append(fieldCaption(code));
    return texts;
}

QString describeFields(std::span<const qint16> codes, std::span<const qint16> lengths)
{
    QString text;
    const std::size_t count = std::min(codes.size(), lengths.size());
    for (std::size_t k = 0; k < count; ++k) {
        const int code = codes[k];
        const int length = lengths[k];
        if (k > 0)
            text += QStringLiteral(" , ");
        if (code == ZeroesField) {
            text += QString(std::clamp(length, 0, MaxZeroes), QLatin1Char('0'));
            continue;
        }
        if (code < 0 || code >= FieldCodeCount) {
            text += Caption::tr("unknown code %1").arg(code);
            continue;
        }
        text += fieldCaption(code);
        if (code == DollarField)
            continue;
        if (length > 0)
            text += QStringLiteral("(%1)").arg(length);
        else if (length == 0)
            text += Caption::tr("(var)");
        else
            text += Caption::tr("(as is)");
    }
    return text;
}

OutputFormat OutputFormat::fromTexts(QStringView fields, QStringView lengths)
{
    OutputFormat format;
    for (int k = 0; k < Slots; ++k) {
        format.fieldCode[k] = readPair(fields, k, false);
        format.fieldLength[k] = readPair(lengths, k, true);
    }
    return format;
}

QString OutputFormat::fieldsText() const
{
    QString text;
    text.reserve(TextLength);
    for (qint16 code : fieldCode)
        text += writePair(code, false);
    return text;
}

QString OutputFormat::lengthsText() const
{
    QString text;
    text.reserve(TextLength);
    for (qint16 length : fieldLength)
        text += writePair(length, true);
    return text;
}

int OutputFormat::fieldCount() const
{
    const auto end = std::find(fieldCode.begin(), fieldCode.end(), qint16(EmptySlot));
    return int(end - fieldCode.begin());
}

QString OutputFormat::description() const
{
    const std::size_t count = std::size_t(fieldCount());
    return describeFields(std::span(fieldCode).first(count), std::span(fieldLength).first(count));
}

} // namespace velmora
