#pragma once

#include "format/outputformat.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace velmora {

// The known output formats and the current one. The table has eleven entries
// of a field text and a length text (formatFields, formatLengths); entry k
// belongs to position k of the format list. Entry 0 is the user format,
// entries 1 and 2 are built in and never change, entries 3 to 10 stay empty.
// The current format is a parsed copy of the entry selected last: a later
// change of that entry's texts reaches it only when the entry is selected
// again.
class FormatTable : public QObject
{
    Q_OBJECT
public:
    static constexpr int EntryCount = 11;
    // Entries offered in the format list and therefore selectable.
    static constexpr int ListedCount = 3;

    // The texts of the format list, positions 0 to 2: "User format",
    // "Zelvoor", "Zelvoor2 (tweezijdig transport)".
    static QStringList formatNames();

    // Fills the table with the built-in entries; the user format starts as a
    // copy of "Zelvoor". No entry is selected and the current format has 0 in
    // every slot.
    explicit FormatTable(QObject *parent = nullptr);

    // The texts of an entry; empty for an entry outside 0 to 10.
    QString formatFields(int entry) const;
    QString formatLengths(int entry) const;

    // Replace the texts of entry 0, the user format. The current format does
    // not change until entry 0 is selected again.
    void setUserFormatFields(const QString &fields);
    void setUserFormatLengths(const QString &lengths);

    // Makes entry position current: all twelve slots are read from its texts,
    // then the description is shown (showCurrentFormat). A position that the
    // format list does not offer (outside 0 to 2) changes nothing and gives
    // false, so a bad stored position never leaves a format of twelve "$".
    bool selectFormat(int position);

    // The position selected last; -1 while none has been selected.
    int selectedFormat() const { return m_selected; }

    const OutputFormat &currentFormat() const { return m_current; }

    // "$ , Y-pos(4) , X-next(4) , 0000" for "Zelvoor".
    QString currentFormatDescription() const { return m_current.description(); }

    // Announces the description of the current format, for the format label
    // and the status display.
    void showCurrentFormat();

signals:
    // A format has been made current (after selectFormat).
    void currentFormatChanged();
    // The description of the current format to show.
    void currentFormatShown(const QString &description);

private:
    std::array<QString, EntryCount> m_formatFields;
    std::array<QString, EntryCount> m_formatLengths;
    OutputFormat m_current;
    int m_selected = -1;
};

} // namespace velmora
