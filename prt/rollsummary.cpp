#include "prt/rollsummary.h"

#include "common/numbers.h"
#include "prt/holelist.h"

#include <QCoreApplication>

#include <cmath>

namespace velmora {

namespace {

// The file label speaks the window's language.
struct Label
{
    Q_DECLARE_TR_FUNCTIONS(velmora::RollSummary)
};

const QString crlf = QStringLiteral("\r\n");

QString arpentaHint()
{
    return crlf + crlf + Label::tr("Check if file is created corectly by Arpenta.") + crlf;
}

} // namespace

QString fillPattern(const QString &number, const QString &pattern)
{
    QString result;
    qsizetype next = number.size();
    for (qsizetype i = pattern.size() - 1; i >= 0; --i) {
        if (pattern[i] == QLatin1Char('@'))
            result.prepend(next > 0 ? number[--next] : QLatin1Char(' '));
        else
            result.prepend(pattern[i]);
    }
    return number.left(next) + result;
}

QString rollSummaryText(const HoleList &holes)
{
    const float width = std::fabs(holes.paperWidth - holes.paperOffset);
    const qint32 metres = roundHalfEven(holes.rollLength) / 100;
    return holes.rollName + crlf +
           Label::tr("Gamma:    %1  -  NTYPE   %2").arg(holes.gammaName, holes.nType) + crlf +
           Label::tr("Paper width: %1 mm")
               .arg(fillPattern(singleText(width), QStringLiteral("@@@,@"))) +
           crlf +
           Label::tr("Roll length: %1 m")
               .arg(fillPattern(QString::number(metres), QStringLiteral("@@@@,@@"))) +
           crlf + Label::tr("Holes to punch:%1").arg(numberText(holes.holeCount())) + crlf;
}

Verdict judgeRoll(const HoleList &holes, bool overCapacity)
{
    const QString &type = holes.nType;
    const bool noot = type == QLatin1String("C") || type == QLatin1String("S");
    const bool pons = type == QLatin1String("P") || type == QLatin1String("A");
    if (!noot && !pons)
        return {false, Label::tr("PRT-file has no valid NTYPE (P, A, S or C).") + arpentaHint()};
    if (noot && !holes.hasNoot)
        return {false,
                Label::tr("PRT-file has NTYPE %1 but does not have NOOT-statements.").arg(type) +
                    arpentaHint()};
    if (pons && !holes.hasPons)
        return {false,
                Label::tr("PRT-file has NTYPE %1 but does not have PONS-statements.").arg(type) +
                    arpentaHint()};
    if (holes.holeCount() == 0)
        return {false, Label::tr("PRT-file is empty.") + crlf + crlf};
    // A truncated roll must never be punched, and a roll without a paper width
    // cannot be drawn or checked.
    if (overCapacity)
        return {false, Label::tr("PRT-file has more than 64000 holes.") + crlf + crlf +
                           Label::tr("Velmora can punch at most 64000 holes of one roll.") + crlf};
    if (holes.paperWidth == 0.0f)
        return {false, Label::tr("PRT-file has a paper width of 0 (BAFM record).") + crlf + crlf +
                           Label::tr("The roll cannot be shown or punched.") + crlf};
    return {true, rollSummaryText(holes), LabelTone::Summary};
}

QString dialogFailedText()
{
    return Label::tr("Error during opening file");
}

QString notPrtFileText()
{
    return Label::tr("The file name does not end in .PRT.") + crlf + crlf +
           Label::tr("Only PRT-files made by Arpenta can be punched.") + crlf;
}

} // namespace velmora
