#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <span>
#include <string_view>

namespace velmora {

class CalibrationEntries;
class DisplayOptions;
class FormatTable;
class PortController;
class PrtOpener;

// The program's objects that hold what the parameter file keeps.
struct SettingTargets
{
    PrtOpener &opener;
    PortController &port;
    FormatTable &formats;
    CalibrationEntries &calibration;
    DisplayOptions &display;
};

// The settings file "##vpar.prm": one setting a line, four characters of key,
// one separator character, then the value. It keeps the folder of the PRT
// file dialog, the port choices, the two "force on" boxes, the user format,
// the format choice, the calibration values and the display options.
//
// Each setting is declared once, in the table settings() returns: its key,
// the kind of its value, and how it is applied to the program and read back
// from it. The reader, the writer and the settings store all work from that
// table; a new setting is one row there (and its control).
namespace ParameterFile {

QString fileName();

// What the file holds for a first start: the two lines of the user format as
// "Zelvoor" has it.
QByteArray firstStartText();

// How a value is read and written.
enum class Kind
{
    Text,     // the value without its outer blanks, written on one line
    Position, // a whole number naming an entry of a list (or a box state); a
              // number that names none, also -1, or that needs more than 16
              // bits, is skipped; written as the position, -1 for none
    ForceOn,  // exactly 1 checks the box; any other value changes nothing;
              // written "1" or "0"
    Number,   // a single-precision number, applied and written as its text
              // form ("997.5")
};

// A value as the file holds it: the text of a Text or Number setting, the
// position (or 1 for a box checked) of a Position or ForceOn setting.
struct Value
{
    QString text;
    int position = 0;

    bool operator==(const Value &) const = default;
};

// One setting of the file.
struct Setting
{
    std::string_view key; // four characters, matched case-sensitively
    Kind kind;
    // Position: how many entries the list offers, from the list itself.
    int (*entries)();
    // Applies a value read through the same intent as the control that shows
    // it, so that reading the file behaves as the operator's hand would.
    void (*apply)(SettingTargets &targets, const Value &value);
    // The value as the program holds it now, for writing.
    Value (*readBack)(const SettingTargets &targets);
};

// Every setting, in the order in which the file is written.
std::span<const Setting> settings();

// One line of the file that applies.
struct Line
{
    const Setting *setting = nullptr;
    Value value;
};

// The lines that apply, in the order of the file; a key that comes twice
// applies twice. CR LF, a lone CR and a lone LF end a line; a last line
// without a line end counts. Skipped: empty lines, unknown keys (matched on
// the first four bytes) and values their kind refuses. Values are decoded as
// UTF-8 when valid, otherwise as Windows-1252.
QList<Line> read(QByteArrayView bytes);

// Applies the lines to the program, in order.
void apply(const QList<Line> &lines, SettingTargets &targets);

// Every setting in table order, each "key value" ended by CR LF, in UTF-8.
// Line ends inside a text value are left out, so that every value stays on
// its own line.
QByteArray write(const SettingTargets &targets);

} // namespace ParameterFile

} // namespace velmora
