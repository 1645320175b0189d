#include "punchsim/portmapwriter.h"

#include "link/portmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace velmora {

QString mapTextWithLine(QStringView text, int port, const QString &device)
{
    const QList<PortMap::TextLine> lines = PortMap::lines(text);
    QStringView lineEnd = u"\n";
    for (const PortMap::TextLine &line : lines) {
        if (!line.end.isEmpty()) {
            lineEnd = line.end;
            break;
        }
    }
    const QString newLine = PortMap::portName(port) + u' ' + device;
    QString result;
    bool replaced = false;
    for (const PortMap::TextLine &line : lines) {
        if (line.port != port) {
            result += line.content;
            result += line.end;
        } else if (!replaced) {
            replaced = true;
            result += newLine;
            if (const qsizetype hash = line.content.indexOf(u'#'); hash >= 0)
                result += u' ' + line.content.sliced(hash).toString();
            result += line.end;
        }
    }
    if (!replaced) {
        if (!result.isEmpty() && !result.endsWith(u'\n') && !result.endsWith(u'\r'))
            result += lineEnd;
        result += newLine;
        result += lineEnd;
    }
    return result;
}

bool writeMapLine(const QString &filePath, int port, const QString &device, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error != nullptr)
            *error = why;
        return false;
    };
    if (port < 1 || port > PortMap::PortCount)
        return fail(u"There is no port number "_s + QString::number(port));
    if (device.isEmpty() || device.contains(u'#') || device.contains(u' ') ||
        device.contains(u'\t') || device.contains(u'\n') || device.contains(u'\r'))
        return fail(u"The device \""_s + device + u"\" cannot be written into a port map"_s);

    QString text;
    QFile existing(filePath);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return fail(filePath + u": "_s + existing.errorString());
        text = QString::fromUtf8(existing.readAll());
        existing.close();
    } else {
        QDir().mkpath(QFileInfo(filePath).absolutePath());
    }

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(filePath + u": "_s + file.errorString());
    file.write(mapTextWithLine(text, port, device).toUtf8());
    if (!file.commit())
        return fail(filePath + u": "_s + file.errorString());
    return true;
}

} // namespace velmora
