#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace velmora {

// The settings file "##vpar.prm": one setting a line, four characters of key,
// one separator character, then the value. It keeps the port choices, the two
// "force on" boxes, the user format, the format choice, the calibration
// values, the display options and the folder of the PRT file dialog.
namespace ParameterFile {

QString fileName();

// The keys in the order in which the file is written.
enum class Key
{
    Idir, // the folder of the PRT file dialog (text)
    Port, // positions in the five port choice lists
    Data,
    Baud,
    Stop,
    Pari,
    Rtse, // "force on" RTS, DTR: only a value of exactly 1 checks the box
    Dtre,
    Frf1, // the user format's field text and length text
    Frl1,
    Form, // position in the format list
    Xcal, // calibration values in thousandths
    Ycal,
    Disr, // display options: 0 unchecked, 1 checked
    Mirr,
};
inline constexpr int KeyCount = 15;

// The number of entries of each list whose position a key stores; 0 for the
// other keys.
int listSize(Key key);

// One line of the file that applies, as it is to be applied.
struct Setting
{
    Key key = Key::Idir;
    QString text;        // idir, frf1, frl1: the value without its outer blanks;
                         // xcal, ycal: the value's text form
    int position = 0;    // the list position or box state; 1 for rtse and dtre
    float number = 0.0f; // xcal, ycal

    bool operator==(const Setting &) const = default;
};

// The lines that apply, in the order of the file; a key that comes twice
// applies twice. CR LF, a lone CR and a lone LF end a line; a last line
// without a line end counts. Skipped: empty lines, unknown keys (matched on
// the first four bytes, case-sensitively), list positions that name no entry
// (also -1) or need more than 16 bits, box values other than 0 and 1, and
// "force on" values other than exactly 1, which change nothing. Values are
// decoded as UTF-8 when valid, otherwise as Windows-1252.
QList<Setting> read(QByteArrayView bytes);

// What the file holds for a first start: the two lines of the user format as
// "Zelvoor" has it.
QByteArray firstStartText();

// The settings as the program holds them, for writing.
struct Values
{
    QString prtDir;
    int port = 0;
    int dataBits = 1;
    int baud = 4;
    int stopBits = 0;
    int parity = 0;
    bool forceRts = false;
    bool forceDtr = false;
    QString userFields;
    QString userLengths;
    int format = -1;
    float xCalibration = 1000.0f;
    float yCalibration = 1000.0f;
    bool right = false;
    bool mirror = false;

    bool operator==(const Values &) const = default;
};

// Applies one setting to values as the program would.
void apply(const Setting &setting, Values &values);

// The fifteen lines in key order, each "key value" ended by CR LF, in UTF-8.
// Line ends inside a text value are left out, so that every value stays on
// its own line.
QByteArray write(const Values &values);

} // namespace ParameterFile

} // namespace velmora
