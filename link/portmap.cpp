#include "link/portmap.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

constexpr const char *Context = "velmora::PortMap";

QString english(const char *text)
{
    return QString::fromLatin1(text);
}

QString translated(const char *text)
{
    return QCoreApplication::translate(Context, text);
}

// Why a name has no device: no port present for it and no line in the map.
template <typename Say> QString noDeviceText(Say say, const QString &name, qsizetype present)
{
    QString count = say(QT_TRANSLATE_NOOP("velmora::PortMap", "no serial port is present"));
    if (present == 1)
        count = say(QT_TRANSLATE_NOOP("velmora::PortMap", "only 1 serial port is present"));
    else if (present > 1)
        count = say(QT_TRANSLATE_NOOP("velmora::PortMap", "only %1 serial ports are present"))
                    .arg(present);
    return say(QT_TRANSLATE_NOOP("velmora::PortMap",
                                 "No device for %1: %2 and %3 has no line for %1"))
        .arg(name, count, PortMap::fileName());
}

struct MapLine
{
    int port = 0;
    QString device;
};

// The port and device of one line, nothing for a blank, comment or bad line.
std::optional<MapLine> parseLine(QStringView content)
{
    const qsizetype hash = content.indexOf(u'#');
    const QStringView code = (hash < 0 ? content : content.first(hash)).trimmed();
    const QList<QStringView> items = code.split(u' ', Qt::SkipEmptyParts);
    QList<QStringView> words;
    for (const QStringView item : items)
        words += item.split(u'\t', Qt::SkipEmptyParts);
    if (words.size() != 2)
        return std::nullopt;
    const int port = PortMap::portNumber(words[0]);
    if (port == 0)
        return std::nullopt;
    QString device = words[1].toString();
    if (!device.contains(u'/'))
        device.prepend(u"/dev/"_s);
    return MapLine{port, device};
}

bool isAdapter(const PresentPort &port)
{
    const QString name = QFileInfo(port.device).fileName();
    return port.usbAdapter || name.startsWith(u"ttyUSB"_s) || name.startsWith(u"ttyACM"_s);
}

// Compares names with runs of digits taken as numbers.
bool naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            QStringView da = a.sliced(i, ei - i);
            QStringView db = b.sliced(j, ej - j);
            while (da.size() > 1 && da.front() == u'0')
                da = da.sliced(1);
            while (db.size() > 1 && db.front() == u'0')
                db = db.sliced(1);
            if (da.size() != db.size())
                return da.size() < db.size();
            if (const int c = da.compare(db); c != 0)
                return c < 0;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b;
}

} // namespace

QString PortMap::portName(int port)
{
    return u"COM"_s + QString::number(port);
}

QList<PortMap::TextLine> PortMap::lines(QStringView text)
{
    QList<TextLine> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype i = start;
        while (i < text.size() && text[i] != u'\n' && text[i] != u'\r')
            ++i;
        qsizetype endLength = 0;
        if (i < text.size())
            endLength = (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        const QStringView content = text.sliced(start, i - start);
        const auto entry = parseLine(content);
        lines.append({content, text.sliced(i, endLength), entry ? entry->port : 0});
        start = i + endLength;
    }
    return lines;
}

int PortMap::portNumber(QStringView name)
{
    if (name.size() != 4 || !name.first(3).startsWith(u"COM"_s, Qt::CaseInsensitive))
        return 0;
    const char16_t digit = name[3].unicode();
    if (digit < u'1' || digit > u'0' + PortCount)
        return 0;
    return digit - u'0';
}

PortMap PortMap::parse(QStringView text)
{
    PortMap map;
    for (const TextLine &line : lines(text)) {
        if (auto entry = parseLine(line.content))
            map.m_devices[size_t(entry->port - 1)] = std::move(entry->device);
    }
    return map;
}

PortMap PortMap::load(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(QString::fromUtf8(file.readAll()));
}

QString PortMap::mappedDevice(int port) const
{
    if (port < 1 || port > PortCount)
        return {};
    return m_devices[size_t(port - 1)];
}

QStringList PortMap::orderPresent(QList<PresentPort> present)
{
    std::stable_sort(present.begin(), present.end(),
                     [](const PresentPort &a, const PresentPort &b) {
                         const bool adapterA = isAdapter(a);
                         const bool adapterB = isAdapter(b);
                         if (adapterA != adapterB)
                             return adapterA;
                         return naturalLess(a.device, b.device);
                     });
    QStringList devices;
    for (const PresentPort &port : std::as_const(present))
        devices.append(port.device);
    return devices;
}

PortResolution PortMap::resolve(int port, const QList<PresentPort> &present) const
{
    PortResolution result;
    if (port < 1 || port > PortCount) {
        result.problem =
            english(QT_TRANSLATE_NOOP("velmora::PortMap", "There is no port number %1")).arg(port);
        result.problemCaption = translated("There is no port number %1").arg(port);
        return result;
    }
    result.device = mappedDevice(port);
    if (!result.device.isEmpty()) {
        result.mapped = true;
        return result;
    }
    const QStringList ordered = orderPresent(present);
    if (port <= ordered.size()) {
        result.device = ordered[port - 1];
        return result;
    }
    result.problem = noDeviceText(english, portName(port), ordered.size());
    result.problemCaption = noDeviceText(translated, portName(port), ordered.size());
    return result;
}

} // namespace velmora
