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

std::optional<Parity> parityOf(QStringView text)
{
    if (text.size() != 1)
        return std::nullopt;
    switch (text.front().toUpper().unicode()) {
    case u'N':
        return Parity::None;
    case u'E':
        return Parity::Even;
    case u'O':
        return Parity::Odd;
    case u'M':
        return Parity::Mark;
    case u'S':
        return Parity::Space;
    default:
        return std::nullopt;
    }
}

QChar parityLetter(Parity parity)
{
    switch (parity) {
    case Parity::None:
        break;
    case Parity::Even:
        return u'E';
    case Parity::Odd:
        return u'O';
    case Parity::Mark:
        return u'M';
    case Parity::Space:
        return u'S';
    }
    return u'N';
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
