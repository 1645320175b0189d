#include "tools/toolcommands.h"

#include "common/numbers.h"
#include "tools/toolinputcheck.h"

using namespace Qt::StringLiterals;

namespace velmora {

QString toolNumberText(double number)
{
    const qint32 whole = roundHalfEven(number);
    const QString digits = QString::number(qAbs(qint64(whole))).rightJustified(4, u'0');
    return whole < 0 ? u'-' + digits : digits;
}

namespace {

// "#,CODE,VALUE,0000" with the value read from an entry; nothing when the
// entry is not valid.
std::optional<QString> lineWithEntry(int code, const QString &entry)
{
    if (!toolNumberValid(entry))
        return std::nullopt;
    return u"#,"_s + toolNumberText(code) + u',' + toolNumberText(leadingNumber(entry)) +
           u",0000"_s;
}

QString fixedLine(int code)
{
    return u"#,"_s + toolNumberText(code) + u",0000,0000"_s;
}

} // namespace

std::optional<QString> toolCommandLine(ToolButton button, const ToolEntries &entries)
{
    switch (button) {
    case ToolButton::ArmForwards:
        return lineWithEntry(1, entries.armForwards);
    case ToolButton::ArmBackwards:
        return lineWithEntry(2, entries.armBackwards);
    case ToolButton::PaperForwards:
        return lineWithEntry(3, entries.paperSteps);
    case ToolButton::ArmToStart:
        return fixedLine(4);
    case ToolButton::ArmToCenter:
        return fixedLine(5);
    case ToolButton::ActivatePunch:
        return fixedLine(6);
    case ToolButton::PaperBackwards:
        return lineWithEntry(7, entries.paperSteps);
    case ToolButton::ShowSettings:
        return fixedLine(20);
    case ToolButton::SendCommand:
        if (!toolNumberValid(entries.code) || !toolNumberValid(entries.value))
            return std::nullopt;
        return u"#,"_s + toolNumberText(leadingNumber(entries.code)) + u',' +
               toolNumberText(leadingNumber(entries.value)) + u",0000"_s;
    }
    return std::nullopt;
}

} // namespace velmora
