#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <span>

// How one hole becomes one command line for the punch controller: up to twelve
// fields, each a field code (what the field holds) and a length (how many
// characters a number takes).
namespace velmora {

// Field codes. A code is the position of the field kind in the editor's list.
enum FieldCode : qint16
{
    EmptySlot = -1, // ends the format at its slot
    DollarField = 0,
    ZeroesField = 1,
    XBeginField = 2,
    KeynumField = 3,
    XEndField = 4,
    YPosField = 5,
    KeywidthField = 6,
    XNextField = 7,
    TracknumField = 8,
    Field1 = 9, // the constant texts field1 to field7
    Field7 = 15,
};

inline constexpr int FieldCodeCount = 16;

// Lengths with a meaning of their own; 1 to 10 are numbers of characters.
inline constexpr qint16 LengthEmpty = -1;
inline constexpr qint16 LengthAsIs = -2;
inline constexpr qint16 LengthVariable = 0;

// The list text of a field code ("$", "zeroes", "X-begin", ... "field7");
// empty for a code outside 0 to 15.
QStringView fieldListText(int code);

// The list text as the window shows it, in its language: "zeroes" and
// "field1" to "field7" are translated, the PRT's own field names are not.
QString fieldCaption(int code);

// The sixteen captions in code order, as the editor's field list shows them.
QStringList fieldCaptions();

// Describes fields, in the window's language, as "$ , Y-pos(4) , X-next(4) ,
// 0000": the fields joined by
// " , "; a zeroes field as its run of zeros (none for a negative length, at
// most ten, as many as a command line gets); other known codes by their list
// text, codes above 1 followed by "(length)", "(var)" for 0 or "(as is)" for a
// negative length. A code outside 0 to 15 reads "unknown code 17", without a
// length: the command line gets an empty field for it. Every given field is
// described, also one with code -1.
QString describeFields(std::span<const qint16> codes, std::span<const qint16> lengths);

// One output format: slots 1 to 12, slot k held at element k - 1. Its fields
// are the slots before the first slot whose code is -1; the slots after it are
// ignored, whatever they hold. A new format has 0 in every slot: twelve "$"
// fields.
struct OutputFormat
{
    static constexpr int Slots = 12;
    static constexpr int TextLength = 2 * Slots;

    std::array<qint16, Slots> fieldCode{};
    std::array<qint16, Slots> fieldLength{};

    // Reads the two 24-character texts, pair k (characters 2k-1 and 2k)
    // giving slot k. "**" reads as -1 in either text, "--" as -2 in the length
    // text; any other pair is read as a number and rounded to a whole number.
    // A pair without a number, also one missing from a short text, reads as 0.
    static OutputFormat fromTexts(QStringView fields, QStringView lengths);

    // The texts that fromTexts reads back to this format: the code or the
    // length as two digits with a leading zero, "**" for -1, "--" for a
    // length of -2. Values that two characters cannot hold are written as the
    // nearest value they can (-9 or 99), which behaves the same.
    QString fieldsText() const;
    QString lengthsText() const;

    // Number of fields: slots before the first empty one.
    int fieldCount() const;

    // The description of the fields, as describeFields gives it.
    QString description() const;

    bool operator==(const OutputFormat &) const = default;
};

} // namespace velmora
