#pragma once

#include <QtGlobal>

#include <vector>

namespace velmora {

class HoleList;

// Colours of the roll preview, as 0xRRGGBB.
inline constexpr quint32 RollRed = 0xFF0000;
inline constexpr quint32 RollBlack = 0x000000;
inline constexpr quint32 RollGrey = 0xB4B4B4;
inline constexpr quint32 RollPaper = 0xFFFAF0; // the background the shapes lie on

// One drawing operation of the roll preview, in the preview's pixel
// coordinates with y growing downwards.
struct RollShape
{
    enum class Kind : quint8
    {
        Line,       // from (x1, y1) to (x2, y2)
        Circle,     // centre (x1, y1), radius; radius 0 is drawn as a single point
        Rect,       // outline with the corners (x1, y1) and (x2, y2)
        FilledRect, // filled, corners (x1, y1) and (x2, y2) included
    };

    Kind kind = Kind::Line;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    double radius = 0.0;
    quint32 rgb = RollBlack;

    friend bool operator==(const RollShape &, const RollShape &) = default;
};

// The preview scale: pixels per PRT unit, and the preview's width in PRT
// units, both single precision as the preview has always used them.
struct RollScale
{
    float rollScale = 0.0f;
    float rollViewLength = 0.0f;
};

RollScale computeRollScale(int rollViewWidth, int rollViewHeight, float paperWidth);

// What one redraw of the preview depends on besides the hole list.
struct RollRequest
{
    qint32 nextNote = 0;   // 1-based position of the next hole to punch
    int rollViewWidth = 0; // inner size of the preview in whole pixels
    int rollViewHeight = 0;
    bool mirror = false;    // "Display in mirror image"
    bool right = false;     // "Move roll on screen to right"
    bool ascending = false; // the holes are listed by non-decreasing X-begin
};

// The whole preview around the punch: the red centre line, then the holes
// from the first that may be visible up to the first one past the right edge.
// Circles for NTYPE P, A and C, slots for NTYPE S. Hole nextNote - 1 sits on
// the centre line in red, the holes before it are black, the holes from
// nextNote on are grey and smaller.
//
// With an empty list, a nextNote outside 1..holeCount + 1 or a paper width
// that gives no usable scale, only the centre line is drawn.
//
// With request.ascending set, the first hole that can be visible is found by
// binary search, so a redraw at the end of a long roll costs what one at its
// start does; the shapes are the same as those of the plain walk from hole 1.
std::vector<RollShape> drawRollShapes(const HoleList &holes, const RollRequest &request);

// The preview without a roll: only the red centre line, one pixel left of the
// line drawn with a roll.
std::vector<RollShape> emptyRollShapes(int rollViewWidth, int rollViewHeight);

// True when every hole's X-begin is at least that of the hole before it. Worth
// computing once per loaded file for RollRequest::ascending.
bool holesAscending(const HoleList &holes);

} // namespace velmora
