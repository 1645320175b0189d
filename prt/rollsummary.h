#pragma once

#include <QString>

namespace velmora {

class HoleList;

// What the file label shows after an open: a summary on light grey, or the
// reason for a refusal on light cyan.
enum class LabelTone
{
    Summary,
    Refusal
};

struct Verdict
{
    bool accepted = false;
    QString text;
    LabelTone tone = LabelTone::Refusal;
};

// Lays a number's text into a pattern such as "@@@,@": each "@" takes one
// character of the text, filling from the right; an "@" left over shows a
// blank; other pattern characters are copied; characters left over when the
// pattern is used up go in front. 1200 gives "120,0", 35 gives "  3,5".
QString fillPattern(const QString &number, const QString &pattern);

// The five summary lines of an accepted roll, each ended by CR LF.
QString rollSummaryText(const HoleList &holes);

// Judges a roll that has just been read from a file whose name ends in .PRT.
// `overCapacity` says the file had more hole records than the list holds.
Verdict judgeRoll(const HoleList &holes, bool overCapacity);

// Texts the file label shows when something goes wrong outside the judging.
QString dialogFailedText();
QString notPrtFileText();

} // namespace velmora
