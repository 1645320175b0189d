#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace velmora {

// A new next note chosen by hand, and the text the entry then shows.
struct NextNoteChoice
{
    qint32 nextNote = 0;
    QString text; // the number with one leading blank: " 4"

    friend bool operator==(const NextNoteChoice &, const NextNoteChoice &) = default;
};

// The up/down bar beside the next-note entry. barValue -1 (upper arrow) moves
// one hole on, any other non-zero value one hole back, both counted from the
// entry's text as it stands. barValue 0 is the bar being put back to rest and
// gives no change; so does an empty hole list.
std::optional<NextNoteChoice> stepNextNote(QStringView text, int barValue, int holeCount);

// Enter in the next-note entry: the number at the start of the text, rounded
// halves to even and kept within 1..holeCount. An empty hole list gives no
// change.
std::optional<NextNoteChoice> enterNextNote(QStringView text, int holeCount);

} // namespace velmora
