#include "prt/rollsummary.h"

#include "common/numbers.h"
#include "prt/holelist.h"

#include <cmath>

namespace velmora {

namespace {

const QString crlf = QStringLiteral("\r\n");

QString arpentaHint()
{
    return crlf + crlf + QStringLiteral("Check if file is created corectly by Arpenta.") + crlf;
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
    return holes.rollName + crlf + QStringLiteral("Gamma:    ") + holes.gammaName +
           QStringLiteral("  -  NTYPE   ") + holes.nType + crlf + QStringLiteral("Paper width: ") +
           fillPattern(singleText(width), QStringLiteral("@@@,@")) + QStringLiteral(" mm") + crlf +
           QStringLiteral("Roll length: ") +
           fillPattern(QString::number(metres), QStringLiteral("@@@@,@@")) + QStringLiteral(" m") +
           crlf + QStringLiteral("Holes to punch:") + numberText(holes.holeCount()) + crlf;
}

Verdict judgeRoll(const HoleList &holes, bool overCapacity)
{
    const QString &type = holes.nType;
    const bool noot = type == QLatin1String("C") || type == QLatin1String("S");
    const bool pons = type == QLatin1String("P") || type == QLatin1String("A");
    if (!noot && !pons)
        return {false,
                QStringLiteral("PRT-file has no valid NTYPE (P, A, S or C).") + arpentaHint()};
    if (noot && !holes.hasNoot)
        return {false, QStringLiteral("PRT-file has NTYPE ") + type +
                           QStringLiteral(" but does not have NOOT-statements.") + arpentaHint()};
    if (pons && !holes.hasPons)
        return {false, QStringLiteral("PRT-file has NTYPE ") + type +
                           QStringLiteral(" but does not have PONS-statements.") + arpentaHint()};
    if (holes.holeCount() == 0)
        return {false, QStringLiteral("PRT-file is empty.") + crlf + crlf};
    // A truncated roll must never be punched, and a roll without a paper width
    // cannot be drawn or checked.
    if (overCapacity)
        return {false, QStringLiteral("PRT-file has more than 64000 holes.") + crlf + crlf +
                           QStringLiteral("Velmora can punch at most 64000 holes of one roll.") +
                           crlf};
    if (holes.paperWidth == 0.0f)
        return {false, QStringLiteral("PRT-file has a paper width of 0 (BAFM record).") + crlf +
                           crlf + QStringLiteral("The roll cannot be shown or punched.") + crlf};
    return {true, rollSummaryText(holes), LabelTone::Summary};
}

QString dialogFailedText()
{
    return QStringLiteral("Error during opening file");
}

QString notPrtFileText()
{
    return QStringLiteral("The file name does not end in .PRT.") + crlf + crlf +
           QStringLiteral("Only PRT-files made by Arpenta can be punched.") + crlf;
}

} // namespace velmora
