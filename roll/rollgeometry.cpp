#include "roll/rollgeometry.h"

#include "common/numbers.h"
#include "prt/holelist.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <ranges>

namespace velmora {

namespace {

// The horizontal mapping from X positions to preview pixels for one redraw.
class XMapping
{
public:
    XMapping(RollScale scale, qint32 origin)
        : m_halfLength(double(scale.rollViewLength / 2.0f)), m_scale(double(scale.rollScale)),
          m_origin(origin), m_width(double(scale.rollScale * scale.rollViewLength))
    {}

    // The whole pixel column of an X position; the origin lands in the middle.
    qint32 px(qint32 x) const
    {
        return roundHalfEven((m_halfLength + double(qint64(x) - m_origin)) * m_scale);
    }

    // The preview width in pixels, as the visibility and stop tests see it.
    double width() const { return m_width; }

    bool visible(qint32 px) const { return px > 0 && double(px) < m_width; }
    bool pastRightEdge(qint32 px) const { return double(px) >= m_width; }

private:
    double m_halfLength;
    double m_scale;
    qint64 m_origin;
    double m_width;
};

RollShape Line(double x1, double y1, double x2, double y2, quint32 rgb)
{
    RollShape shape;
    shape.kind = RollShape::Kind::Line;
    shape.x1 = x1;
    shape.y1 = y1;
    shape.x2 = x2;
    shape.y2 = y2;
    shape.rgb = rgb;
    return shape;
}

// A negative radius (a hole narrower than a quarter millimetre on each side)
// becomes a point.
RollShape Circle(double cx, double cy, double radius, quint32 rgb)
{
    RollShape shape;
    shape.kind = RollShape::Kind::Circle;
    shape.x1 = cx;
    shape.y1 = cy;
    shape.radius = std::max(radius, 0.0);
    shape.rgb = rgb;
    return shape;
}

RollShape Rectangle(RollShape::Kind kind, double x1, double y1, double x2, double y2, quint32 rgb)
{
    RollShape shape = Line(x1, y1, x2, y2, rgb);
    shape.kind = kind;
    return shape;
}

bool usableScale(RollScale scale)
{
    return std::isfinite(scale.rollScale) && std::isfinite(scale.rollViewLength) &&
           scale.rollScale > 0.0f && scale.rollViewLength > 0.0f;
}

} // namespace

RollScale computeRollScale(int rollViewWidth, int rollViewHeight, float paperWidth)
{
    RollScale scale;
    scale.rollScale = float(rollViewHeight) / paperWidth;
    scale.rollViewLength = float(rollViewWidth) / scale.rollScale;
    return scale;
}

std::vector<RollShape> drawRollShapes(const HoleList &holes, const RollRequest &request)
{
    std::vector<RollShape> shapes;
    shapes.reserve(256);
    const double centre = request.rollViewWidth / 2.0 + 1.0;
    shapes.push_back(Line(centre, 0.0, centre, double(request.rollViewHeight), RollRed));

    const int holeCount = holes.holeCount();
    const qint32 nextNote = request.nextNote;
    const RollScale scale =
        computeRollScale(request.rollViewWidth, request.rollViewHeight, holes.paperWidth);
    if (holeCount == 0 || nextNote < 1 || nextNote > holeCount + 1 || !usableScale(scale))
        return shapes;

    const XMapping map(scale, holes.hole(nextNote - 1).xBegin);
    const double rollScale = double(scale.rollScale);
    const double paperWidth = double(holes.paperWidth);
    const bool drawSlots = holes.nType == QLatin1String("S");

    int first = 1;
    if (request.ascending) {
        // px never decreases along an ascending list, so the holes left of
        // the picture form a prefix; none of them could end the walk.
        const auto positions = std::views::iota(1, holeCount + 1);
        const auto it = std::ranges::partition_point(
            positions, [&](int i) { return map.px(holes.hole(i).xBegin) <= 0; });
        first = it == positions.end() ? holeCount + 1 : *it;
    }

    for (int i = first; i <= holeCount; ++i) {
        const Hole &hole = holes.hole(i);
        const qint32 px = map.px(hole.xBegin);
        if (map.visible(px)) {
            const double py = request.mirror ? (paperWidth - double(hole.yPos)) * rollScale
                                             : double(hole.yPos) * rollScale;
            const float r = (float(hole.keywidth) / 2.0f - 2.5f) * scale.rollScale;
            const double cx = request.right ? map.width() - double(px) : double(px);
            const double rd = double(r);
            if (drawSlots) {
                const double len = double(map.px(hole.xEnd)) - double(px);
                if (i == nextNote - 1)
                    shapes.push_back(Rectangle(RollShape::Kind::FilledRect, cx, py - rd / 2.0,
                                               cx + len, py + rd / 2.0, RollRed));
                else if (i < nextNote - 1)
                    shapes.push_back(Rectangle(RollShape::Kind::Rect, cx, py - rd / 2.0, cx + len,
                                               py + rd / 2.0, RollBlack));
                else
                    shapes.push_back(Rectangle(RollShape::Kind::Rect, cx, py - rd / 2.5, cx + len,
                                               py + rd / 2.5, RollGrey));
            } else if (i == nextNote - 1) {
                shapes.push_back(Circle(cx, py, rd, RollRed));
                shapes.push_back(Circle(cx, py, 1.0, RollRed));
            } else if (i < nextNote - 1) {
                shapes.push_back(Circle(cx, py, rd, RollBlack));
            } else {
                shapes.push_back(Circle(cx, py, 0.8 * rd, RollGrey));
            }
        }
        if (map.pastRightEdge(px))
            break;
    }
    return shapes;
}

std::vector<RollShape> emptyRollShapes(int rollViewWidth, int rollViewHeight)
{
    const double centre = rollViewWidth / 2.0;
    return {Line(centre, 0.0, centre, double(rollViewHeight), RollRed)};
}

bool holesAscending(const HoleList &holes)
{
    for (int i = 2; i <= holes.holeCount(); ++i) {
        if (holes.hole(i).xBegin < holes.hole(i - 1).xBegin)
            return false;
    }
    return true;
}

} // namespace velmora
