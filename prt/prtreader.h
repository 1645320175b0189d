#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string_view>

class QIODevice;

namespace velmora {

class HoleList;

// What a read of a PRT file tells its caller besides what it leaves in the
// hole list.
struct PrtReadResult
{
    enum class Status
    {
        Read,       // the file was read to its end, twice
        NoPath,     // the path was empty; nothing was done
        OpenFailed, // the file could not be opened; errorText says why
        ReadFailed, // reading broke off; errorText says why
    };

    Status status = Status::Read;
    QString errorText; // the system's reason for OpenFailed and ReadFailed

    // Hole records in the file, also those beyond the list's capacity.
    qint64 holeRecords = 0;
    // More hole records than the list holds: it keeps the first 64000, and
    // such a roll must not be punched.
    bool overCapacity = false;
    // paperWidth is 0 after the read (no BAFM record so far, or one with width
    // 0): the roll has no usable scale.
    bool zeroPaperWidth = false;
    // Every hole's X-begin is at least that of the hole before it.
    bool ascending = true;

    bool ok() const { return status == Status::Read; }
};

// The value of a numeric hole field: the number at its start by the shared
// rule (blanks skipped, "." as decimal point), rounded halves to even.
qint32 readWholeField(std::string_view text);
// The same for a field in the plain form nearly every field has (blanks, an
// optional minus sign, at most nine digits, blanks), read directly; nothing
// for any other text, which readWholeField reads by the full rule.
std::optional<qint32> plainWholeField(std::string_view text);

// Reads a PRT punch file into the hole list, in two passes over the file.
//
// The first pass gathers the header records wherever they stand: NAAM and GAMM
// (the text from column 13; a path is reduced to the bare file name), NTYP
// (the letter in column 13, upper-cased, which chooses the hole keyword) and
// BAFM (paper width, offset and roll length). The second pass takes every line
// whose keyword in columns 1 to 4 is the hole keyword as one hole: X-begin
// (columns 6-11), keynum (13-18), X-end (20-25), Y-pos (27-32), keywidth
// (34-39) and tracknum (48-53), each rounded halves to even.
//
// Columns are counted in bytes. A line ends at CR LF, a lone CR or a lone LF;
// only the first 4096 bytes of a line are read. NAAM and GAMM are decoded as
// UTF-8 when valid, otherwise as Windows-1252.
//
// The list object lives as long as the program. nType, holeKeyword, hasPons,
// hasNoot and the holes are replaced by every read; rollName, gammaName,
// paperWidth, paperOffset and rollLength keep their earlier values unless the
// file holds the record that sets them. When the file cannot be opened or read
// to its end, the list is left empty with nType and holeKeyword empty, and the
// header values read so far stay.
class PrtReader
{
public:
    static constexpr qint64 ChunkBytes = 64 * 1024;

    // Reads the file at prtPath; an empty path does nothing. The file is read
    // in chunks of ChunkBytes and is open only during the call. Anything that
    // is not a regular file is refused as OpenFailed.
    static PrtReadResult readPrtFile(const QString &prtPath, HoleList &holes);

    // Reads a whole file held in memory.
    static PrtReadResult readPrtBytes(QByteArrayView bytes, HoleList &holes);

    // Reads from a device open for reading that can seek back to its start,
    // chunkBytes at a time.
    static PrtReadResult readPrtDevice(QIODevice &device, HoleList &holes,
                                       qint64 chunkBytes = ChunkBytes);
};

} // namespace velmora
