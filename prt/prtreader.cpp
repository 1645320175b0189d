#include "prt/prtreader.h"

#include "common/numbers.h"
#include "prt/holelist.h"
#include "prt/prtlinesplitter.h"
#include "prt/prttext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

namespace velmora {

namespace {

// Why a file could not be read, for the file label in the window's language.
struct Reason
{
    Q_DECLARE_TR_FUNCTIONS(velmora::PrtReader)
};

using namespace std::string_view_literals;

constexpr std::string_view pons = "PONS"sv;
constexpr std::string_view noot = "NOOT"sv;
constexpr std::size_t fieldWidth = 6;

// The keyword in columns 1 to 4; shorter lines have none.
std::string_view keywordOf(std::string_view line)
{
    return line.size() < 4 ? std::string_view() : line.substr(0, 4);
}

// Columns first to first + width - 1 (counted from 1), as far as the line
// reaches; empty when the line ends before them.
std::string_view columns(std::string_view line, std::size_t first, std::size_t width)
{
    return line.size() < first ? std::string_view() : line.substr(first - 1, width);
}

std::string_view fromColumn(std::string_view line, std::size_t first)
{
    return line.size() < first ? std::string_view() : line.substr(first - 1);
}

qint32 wholeField(std::string_view line, std::size_t first)
{
    return readWholeField(columns(line, first, fieldWidth));
}

// A number kept in single precision; a value beyond its range is held at the
// largest finite value of its sign rather than becoming infinite.
float singleField(std::string_view line, std::size_t first)
{
    constexpr double limit = std::numeric_limits<float>::max();
    return static_cast<float>(
        std::clamp(leadingNumber(columns(line, first, fieldWidth)), -limit, limit));
}

// Drops a UTF-8 sequence that the end of a shortened line has cut in two, so
// that the rest of a valid UTF-8 text still decodes as UTF-8.
std::string_view withoutCutSequence(std::string_view text)
{
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (length > back)
            text.remove_suffix(back);
        break;
    }
    return text;
}

// The NAAM and GAMM text: a text with a backslash is taken as a path and
// becomes the part after its last backslash, up to the first "." of that part.
QString nameText(std::string_view line, bool truncated)
{
    std::string_view text = fromColumn(line, 13);
    if (truncated)
        text = withoutCutSequence(text);
    QString name = decodeFileText(text);
    const qsizetype backslash = name.lastIndexOf(QLatin1Char('\\'));
    if (backslash >= 0) {
        name.remove(0, backslash + 1);
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            name.truncate(dot);
    }
    return name;
}

// The NTYPE letter in column 13, in upper case; empty for a shorter line.
QString nTypeText(std::string_view line)
{
    if (line.size() < 13)
        return QString();
    return QString(decodeWindows1252(line.substr(12, 1)).front().toUpper());
}

// First pass: the header records, wherever they stand in the file.
class HeaderPass
{
public:
    explicit HeaderPass(HoleList &holes) : m_holes(holes) {}

    void operator()(std::string_view line, bool truncated)
    {
        const std::string_view keyword = keywordOf(line);
        if (keyword == pons) {
            m_holes.hasPons = true;
        } else if (keyword == noot) {
            m_holes.hasNoot = true;
        } else if (keyword == "NAAM"sv) {
            m_holes.rollName = nameText(line, truncated);
        } else if (keyword == "GAMM"sv) {
            m_holes.gammaName = nameText(line, truncated);
        } else if (keyword == "BAFM"sv) {
            // Columns 27-32 and 41-46 carry values this program does not use.
            m_holes.paperWidth = singleField(line, 13);
            m_holes.paperOffset = singleField(line, 20);
            m_holes.rollLength = singleField(line, 34);
        } else if (keyword == "NTYP"sv) {
            m_holes.nType = nTypeText(line);
            m_holeKeyword = std::string_view();
            if (m_holes.nType == QLatin1String("P") || m_holes.nType == QLatin1String("A"))
                m_holeKeyword = pons;
            else if (m_holes.nType == QLatin1String("C") || m_holes.nType == QLatin1String("S"))
                m_holeKeyword = noot;
            m_holes.holeKeyword = QString::fromLatin1(m_holeKeyword);
        }
        // MARK, SIGN, COMM, CALI, SPLT, STRT and anything else carry nothing.
    }

    std::string_view holeKeyword() const { return m_holeKeyword; }

private:
    HoleList &m_holes;
    std::string_view m_holeKeyword;
};

// Second pass: every line whose keyword is the hole keyword is one hole.
class HolePass
{
public:
    HolePass(HoleList &holes, PrtReadResult &result, std::string_view keyword)
        : m_holes(holes), m_result(result), m_keyword(keyword)
    {}

    void operator()(std::string_view line, bool)
    {
        if (keywordOf(line) != m_keyword)
            return;
        ++m_result.holeRecords;
        const int count = m_holes.holeCount();
        if (count >= HoleList::Capacity) {
            m_result.overCapacity = true;
            return;
        }
        Hole hole;
        hole.xBegin = wholeField(line, 6);
        hole.keynum = wholeField(line, 13);
        hole.xEnd = wholeField(line, 20);
        hole.yPos = wholeField(line, 27);
        hole.keywidth = wholeField(line, 34);
        hole.tracknum = wholeField(line, 48);
        if (count > 0 && hole.xBegin < m_holes.hole(count).xBegin)
            m_result.ascending = false;
        m_holes.append(hole);
    }

private:
    HoleList &m_holes;
    PrtReadResult &m_result;
    std::string_view m_keyword;
};

// Every read starts the same way: what the file alone decides is emptied.
void startRead(HoleList &holes)
{
    holes.nType.clear();
    holes.holeKeyword.clear();
    holes.hasPons = false;
    holes.hasNoot = false;
}

PrtReadResult failedRead(HoleList &holes, PrtReadResult::Status status, const QString &reason)
{
    startRead(holes);
    holes.clear();
    PrtReadResult result;
    result.status = status;
    result.errorText = reason;
    return result;
}

void finishRead(const HoleList &holes, PrtReadResult &result)
{
    result.zeroPaperWidth = holes.paperWidth == 0.0f;
}

// One pass over the device from its start, chunk by chunk. On failure leaves
// the device's reason in error.
template <typename Pass>
bool passOverDevice(QIODevice &device, char *buffer, qint64 chunkBytes, PrtLineSplitter &splitter,
                    Pass &pass, QString &error)
{
    if (!device.seek(0)) {
        error = device.errorString();
        return false;
    }
    for (;;) {
        const qint64 got = device.read(buffer, chunkBytes);
        if (got < 0) {
            error = device.errorString();
            return false;
        }
        if (got == 0)
            break;
        splitter.feed(std::string_view(buffer, static_cast<std::size_t>(got)), pass);
    }
    splitter.finish(pass);
    return true;
}

// The two passes of a read. passOver(splitter, pass, error) runs one pass over
// the whole file from its start; on failure it leaves the reason in error.
template <typename PassOver> PrtReadResult readPasses(HoleList &holes, PassOver passOver)
{
    PrtLineSplitter splitter; // ready for the next stream after each pass
    QString error;

    PrtReadResult result;
    startRead(holes);
    HeaderPass header(holes);
    if (!passOver(splitter, header, error))
        return failedRead(holes, PrtReadResult::Status::ReadFailed, error);

    holes.clear();
    if (!header.holeKeyword().empty()) {
        HolePass holePass(holes, result, header.holeKeyword());
        if (!passOver(splitter, holePass, error))
            return failedRead(holes, PrtReadResult::Status::ReadFailed, error);
    }
    finishRead(holes, result);
    return result;
}

} // namespace

std::optional<qint32> plainWholeField(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size && text[i] == ' ')
        ++i;
    const bool negative = i < size && text[i] == '-';
    if (negative)
        ++i;
    const std::size_t digitsStart = i;
    qint32 value = 0;
    while (i < size && text[i] >= '0' && text[i] <= '9' && i - digitsStart < 9) {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    const bool hadDigits = i > digitsStart;
    while (i < size && text[i] == ' ')
        ++i;
    if (hadDigits && i == size)
        return negative ? -value : value;
    return std::nullopt;
}

qint32 readWholeField(std::string_view text)
{
    // Nearly every field is a plain whole number, read directly; any other
    // text goes through the full rule.
    if (const std::optional<qint32> value = plainWholeField(text))
        return *value;
    return roundHalfEven(leadingNumber(text));
}

PrtReadResult PrtReader::readPrtFile(const QString &prtPath, HoleList &holes)
{
    PrtReadResult result;
    if (prtPath.isEmpty()) {
        result.status = PrtReadResult::Status::NoPath;
        return result;
    }
    // A device or a pipe could block the open or never end; only plain files
    // are read.
    const QFileInfo info(prtPath);
    if (info.exists() && !info.isFile())
        return failedRead(holes, PrtReadResult::Status::OpenFailed,
                          Reason::tr("not a regular file"));
    QFile file(prtPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failedRead(holes, PrtReadResult::Status::OpenFailed, file.errorString());
    return readPrtDevice(file, holes);
}

PrtReadResult PrtReader::readPrtDevice(QIODevice &device, HoleList &holes, qint64 chunkBytes)
{
    if (!device.isReadable() || device.isSequential())
        return failedRead(holes, PrtReadResult::Status::ReadFailed,
                          Reason::tr("cannot read the file from its start"));
    chunkBytes = std::clamp<qint64>(chunkBytes, 1, ChunkBytes);
    const auto buffer =
        std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(chunkBytes));
    return readPasses(holes, [&](PrtLineSplitter &splitter, auto &pass, QString &error) {
        return passOverDevice(device, buffer.get(), chunkBytes, splitter, pass, error);
    });
}

PrtReadResult PrtReader::readPrtBytes(QByteArrayView bytes, HoleList &holes)
{
    // The bytes are one chunk: nothing is copied.
    const std::string_view text(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return readPasses(holes, [text](PrtLineSplitter &splitter, auto &pass, QString &) {
        splitter.feed(text, pass);
        splitter.finish(pass);
        return true;
    });
}

} // namespace velmora
