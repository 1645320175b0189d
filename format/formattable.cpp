#include "format/formattable.h"

namespace velmora {

namespace {

constexpr QStringView zelvoorFields = u"00050701****************";
constexpr QStringView zelvoorLengths = u"01040404****************";
constexpr QStringView zelvoor2Fields = u"00050204****************";
constexpr QStringView zelvoor2Lengths = u"01040606****************";

} // namespace

QStringList FormatTable::formatNames()
{
    return {tr("User format"), QStringLiteral("Zelvoor"),
            QStringLiteral("Zelvoor2 (tweezijdig transport)")};
}

FormatTable::FormatTable(QObject *parent) : QObject(parent)
{
    m_formatFields[0] = zelvoorFields.toString();
    m_formatLengths[0] = zelvoorLengths.toString();
    m_formatFields[1] = zelvoorFields.toString();
    m_formatLengths[1] = zelvoorLengths.toString();
    m_formatFields[2] = zelvoor2Fields.toString();
    m_formatLengths[2] = zelvoor2Lengths.toString();
}

QString FormatTable::formatFields(int entry) const
{
    return entry >= 0 && entry < EntryCount ? m_formatFields[entry] : QString();
}

QString FormatTable::formatLengths(int entry) const
{
    return entry >= 0 && entry < EntryCount ? m_formatLengths[entry] : QString();
}

void FormatTable::setUserFormatFields(const QString &fields)
{
    m_formatFields[0] = fields;
}

void FormatTable::setUserFormatLengths(const QString &lengths)
{
    m_formatLengths[0] = lengths;
}

bool FormatTable::selectFormat(int position)
{
    if (position < 0 || position >= ListedCount)
        return false;
    m_selected = position;
    m_current = OutputFormat::fromTexts(m_formatFields[position], m_formatLengths[position]);
    emit currentFormatChanged();
    showCurrentFormat();
    return true;
}

void FormatTable::showCurrentFormat()
{
    emit currentFormatShown(currentFormatDescription());
}

} // namespace velmora
