#include "remote/remotestatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

QJsonValue stateName(RemoteStatus::State state)
{
    switch (state) {
    case RemoteStatus::State::Punching:
        return QStringLiteral("punching");
    case RemoteStatus::State::Paused:
        return QStringLiteral("paused");
    case RemoteStatus::State::Idle:
        break;
    }
    return QStringLiteral("idle");
}

QJsonValue outcomeName(RemoteStatus::Outcome outcome)
{
    switch (outcome) {
    case RemoteStatus::Outcome::Completed:
        return QStringLiteral("completed");
    case RemoteStatus::Outcome::Stopped:
        return QStringLiteral("stopped");
    case RemoteStatus::Outcome::ControllerStop:
        return QStringLiteral("controller-stop");
    case RemoteStatus::Outcome::None:
        break;
    }
    return QJsonValue::Null;
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 7);
}

QByteArray colour(quint32 rgb)
{
    return '#' + QByteArray::number(rgb & 0xFFFFFF, 16).rightJustified(6, '0');
}

void appendShape(QByteArray &svg, const RollShape &shape)
{
    const QByteArray rgb = colour(shape.rgb);
    const double left = std::min(shape.x1, shape.x2);
    const double top = std::min(shape.y1, shape.y2);
    const QByteArray box = "<rect x=\"" + number(left) + "\" y=\"" + number(top) + "\" width=\"" +
                           number(std::abs(shape.x2 - shape.x1)) + "\" height=\"" +
                           number(std::abs(shape.y2 - shape.y1)) + '"';
    switch (shape.kind) {
    case RollShape::Kind::Line:
        svg += "<line x1=\"" + number(shape.x1) + "\" y1=\"" + number(shape.y1) + "\" x2=\"" +
               number(shape.x2) + "\" y2=\"" + number(shape.y2) + "\" stroke=\"" + rgb + "\"/>";
        break;
    case RollShape::Kind::Circle:
        if (shape.radius > 0.0)
            svg += "<circle cx=\"" + number(shape.x1) + "\" cy=\"" + number(shape.y1) + "\" r=\"" +
                   number(shape.radius) + "\" fill=\"none\" stroke=\"" + rgb + "\"/>";
        else // a point
            svg += "<rect x=\"" + number(shape.x1) + "\" y=\"" + number(shape.y1) +
                   "\" width=\"1\" height=\"1\" fill=\"" + rgb + "\"/>";
        break;
    case RollShape::Kind::Rect:
        svg += box + " fill=\"none\" stroke=\"" + rgb + "\"/>";
        break;
    case RollShape::Kind::FilledRect:
        svg += box + " fill=\"" + rgb + "\" stroke=\"" + rgb + "\"/>";
        break;
    }
    svg += '\n';
}

} // namespace

QByteArray statusJson(const RemoteStatus &status)
{
    QJsonObject json;
    json.insert(QLatin1String("state"), stateName(status.state));
    if (status.roll) {
        json.insert(QLatin1String("roll"),
                    QJsonObject{{QLatin1String("path"), status.roll->path},
                                {QLatin1String("name"), status.roll->name},
                                {QLatin1String("holes"), status.roll->holes}});
    } else {
        json.insert(QLatin1String("roll"), QJsonValue::Null);
    }
    json.insert(QLatin1String("nextNote"), status.nextNote);
    json.insert(QLatin1String("sent"), status.sent);
    json.insert(QLatin1String("remaining"), status.remaining);
    json.insert(QLatin1String("outcome"), outcomeName(status.outcome));
    json.insert(QLatin1String("log"), QJsonArray::fromStringList(status.log));
    const QDateTime &time = status.time;
    json.insert(QLatin1String("time"),
                time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate));
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

QByteArray rollSvg(const RollPicture &picture)
{
    const QByteArray width = QByteArray::number(picture.width);
    const QByteArray height = QByteArray::number(picture.height);
    QByteArray svg;
    svg.reserve(256 + qsizetype(picture.shapes.size()) * 96);
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + width + ' ' + height +
           "\" width=\"" + width + "\" height=\"" + height + "\" stroke-width=\"1\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"" + colour(RollPaper) + "\"/>\n";
    for (const RollShape &shape : picture.shapes)
        appendShape(svg, shape);
    svg += "</svg>\n";
    return svg;
}

} // namespace velmora
