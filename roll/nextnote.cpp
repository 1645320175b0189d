#include "roll/nextnote.h"

#include "common/numbers.h"

namespace velmora {

namespace {

std::optional<NextNoteChoice> Choose(double wanted, int holeCount)
{
    if (holeCount < 1)
        return std::nullopt;
    qint32 nextNote = roundHalfEven(wanted);
    if (nextNote < 1)
        nextNote = 1;
    if (nextNote > holeCount)
        nextNote = holeCount;
    return NextNoteChoice{nextNote, numberText(nextNote)};
}

} // namespace

std::optional<NextNoteChoice> stepNextNote(QStringView text, int barValue, int holeCount)
{
    if (barValue == 0)
        return std::nullopt;
    const double step = barValue == -1 ? 1.0 : -1.0;
    return Choose(leadingNumber(text) + step, holeCount);
}

std::optional<NextNoteChoice> enterNextNote(QStringView text, int holeCount)
{
    return Choose(leadingNumber(text), holeCount);
}

} // namespace velmora
