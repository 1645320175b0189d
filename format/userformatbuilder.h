#pragma once

#include "format/outputformat.h"

#include <QString>

#include <array>

namespace velmora {

class FormatTable;

// The user format editor's logic: the fields added so far, the picks in the
// field list and the length list, and what they allow. A field kind's
// position in the field list is its code; a length's position in the length
// list is its value (0 = variable). The fields kept beyond the count stay
// from one opening to the next but no longer count.
class UserFormatBuilder
{
public:
    static constexpr int MaxFields = OutputFormat::Slots;
    // The length list offers variable and 1 to 8 characters.
    static constexpr int LongestLength = 8;

    // "$" and field1 to field7 take no length: the length list is cleared and
    // hidden while one of them is picked.
    static bool takesLength(int code);

    // Opening the editor: no field yet, nothing picked in either list, both
    // lists shown.
    void open();
    // A field kind or a length picked.
    void pickField(int code);
    void pickLength(int length);
    // "Add field to format": appends the picked field. A "$" gets the length
    // 1, a zeroes field of variable length 1, field1 to field7 "as is"; the
    // others keep the picked length. Nothing happens unless addEnabled().
    void add();
    // "Remove last field": drops the last field, if any.
    void removeLast();

    // Adding is offered below twelve fields, with a field kind picked and, for
    // a kind that takes one, a length picked.
    bool addEnabled() const;
    bool lengthListShown() const { return m_lengthListShown; }
    int pickedField() const { return m_field; }   // -1: nothing picked
    int pickedLength() const { return m_length; } // -1: nothing picked
    int fieldCount() const { return m_count; }

    // The fields added, described as the format label describes a format.
    QString description() const;
    // The fields added, the slots after them empty.
    OutputFormat format() const;
    // "Store format": the user format's texts become those of format(), and
    // the user format is selected, which makes it current and shows it.
    void store(FormatTable &formats) const;

private:
    std::array<qint16, MaxFields> m_codes{};
    std::array<qint16, MaxFields> m_lengths{};
    int m_count = 0;
    int m_field = -1;
    int m_length = -1;
    bool m_lengthListShown = true;
};

} // namespace velmora
