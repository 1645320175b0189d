#include "platform/linesettings.h"

#include <QList>

namespace velmora {

namespace {

// A whole number of plain ASCII digits, nothing else; nothing when the text
// is empty, holds anything but digits, or exceeds the limit.
std::optional<qint32> digitsValue(QStringView text, qint32 limit)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return qint32(value);
}

// The letter of each parity in a settings text, in the order of Parity.
constexpr char16_t ParityLetters[] = {u'N', u'E', u'O', u'M', u'S'};

std::optional<Parity> parityOf(QStringView text)
{
    if (text.size() != 1)
        return std::nullopt;
    const char16_t letter = text.front().toUpper().unicode();
    for (std::size_t i = 0; i < std::size(ParityLetters); ++i) {
        if (ParityLetters[i] == letter)
            return Parity(i);
    }
    return std::nullopt;
}

QChar parityLetter(Parity parity)
{
    return ParityLetters[std::size_t(parity)];
}

} // namespace

std::optional<LineSettings> LineSettings::parse(QStringView text)
{
    const QList<QStringView> items = text.split(u',');
    if (items.size() != 4)
        return std::nullopt;
    const auto baud = digitsValue(items[0], MaxBaudRate);
    const auto parity = parityOf(items[1]);
    const auto data = digitsValue(items[2], 8);
    const auto stop = digitsValue(items[3], 2);
    if (!baud || *baud < 1 || !parity || !data || *data < 5 || !stop || *stop < 1)
        return std::nullopt;
    LineSettings settings;
    settings.baudRate = *baud;
    settings.parity = *parity;
    settings.dataBits = *data;
    settings.stopBits = *stop;
    return settings;
}

QString LineSettings::text() const
{
    return QString::number(baudRate) + u',' + parityLetter(parity) + u',' +
           QString::number(dataBits) + u',' + QString::number(stopBits);
}

} // namespace velmora
