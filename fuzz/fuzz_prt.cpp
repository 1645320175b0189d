// Feeds arbitrary bytes to the PRT reader. Besides the sanitizers' own checks
// it stops on:
// - a hole list or a result that breaks its own rules (count, capacity flag,
//   X-next, order flag, hole keyword, paper width flag);
// - any difference between reading the bytes at once and reading them through
//   a device in small chunks, which must cut the same lines;
// - a hole field in the plain form whose fast reading differs from the shared
//   number rule (any other field is read by that rule itself).
//
// The lists and the device are made once; an input costs no allocation of
// its own size beyond the reader's.
#include "common/numbers.h"
#include "prt/holelist.h"
#include "prt/prtreader.h"

#include <QBuffer>
#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

using namespace velmora;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_prt: %s\n", what);
        std::abort();
    }
}

bool sameHole(const Hole &a, const Hole &b)
{
    return a.xBegin == b.xBegin && a.keynum == b.keynum && a.xEnd == b.xEnd && a.yPos == b.yPos &&
           a.keywidth == b.keywidth && a.xNext == b.xNext && a.tracknum == b.tracknum;
}

void checkRead(const HoleList &holes, const PrtReadResult &result)
{
    require(result.ok(), "a read from memory failed");
    const int count = holes.holeCount();
    require(count >= 0 && count <= HoleList::Capacity, "hole count out of range");
    require(result.holeRecords == count || (result.overCapacity && count == HoleList::Capacity),
            "hole records and hole count disagree");
    require(result.overCapacity == (result.holeRecords > HoleList::Capacity),
            "capacity flag wrong");
    require(result.zeroPaperWidth == (holes.paperWidth == 0.0f), "paper width flag wrong");
    require(std::isfinite(holes.paperWidth) && std::isfinite(holes.paperOffset) &&
                std::isfinite(holes.rollLength),
            "paper value not finite");
    require(holes.nType.size() <= 1, "nType longer than one letter");
    const bool pons = holes.nType == QLatin1String("P") || holes.nType == QLatin1String("A");
    const bool noot = holes.nType == QLatin1String("C") || holes.nType == QLatin1String("S");
    require(holes.holeKeyword == (pons   ? QStringLiteral("PONS")
                                  : noot ? QStringLiteral("NOOT")
                                         : QString()),
            "hole keyword does not follow nType");
    require(count == 0 || (pons && holes.hasPons) || (noot && holes.hasNoot),
            "holes without their record flag");
    bool ascending = true;
    for (int p = 1; p <= count; ++p) {
        const qint64 expected =
            p == 1 ? 0 : qint64(holes.hole(p).xBegin) - holes.hole(p - 1).xBegin;
        require(holes.hole(p).xNext ==
                    qint32(qBound(qint64(INT32_MIN), expected, qint64(INT32_MAX))),
                "X-next wrong");
        if (p > 1 && holes.hole(p).xBegin < holes.hole(p - 1).xBegin)
            ascending = false;
    }
    require(result.ascending == ascending, "order flag wrong");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Both lists live across inputs, as the program's list lives across files,
    // so values kept from an earlier read are compared too.
    static HoleList whole;
    static HoleList chunked;

    const char *const text = reinterpret_cast<const char *>(data);
    const auto first = PrtReader::readPrtBytes(QByteArrayView(text, qsizetype(size)), whole);
    checkRead(whole, first);

    static QBuffer buffer;
    buffer.close();
    buffer.setData(QByteArray::fromRawData(text, qsizetype(size)));
    require(buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered), "buffer did not open");
    const qint64 chunk = size == 0 ? 1 : 1 + (data[0] | data[size - 1] << 8) % 8192;
    const auto second = PrtReader::readPrtDevice(buffer, chunked, chunk);
    require(second.ok(), "a read from a device failed");
    require(first.holeRecords == second.holeRecords && first.overCapacity == second.overCapacity &&
                first.zeroPaperWidth == second.zeroPaperWidth &&
                first.ascending == second.ascending,
            "results differ between whole and chunked reads");
    require(whole.rollName == chunked.rollName && whole.gammaName == chunked.gammaName &&
                whole.nType == chunked.nType && whole.holeKeyword == chunked.holeKeyword &&
                whole.hasPons == chunked.hasPons && whole.hasNoot == chunked.hasNoot &&
                whole.paperWidth == chunked.paperWidth &&
                whole.paperOffset == chunked.paperOffset && whole.rollLength == chunked.rollLength,
            "header values differ between whole and chunked reads");
    require(whole.holeCount() == chunked.holeCount(), "hole counts differ");
    for (int p = 1; p <= whole.holeCount(); ++p)
        require(sameHole(whole.hole(p), chunked.hole(p)), "holes differ");

    // Every short piece of the input as a hole field.
    const std::string_view bytes(text, size);
    for (std::size_t at = 0; at < size && at < 256; ++at) {
        const std::string_view field = bytes.substr(at, 8);
        if (const std::optional<qint32> plain = plainWholeField(field))
            require(readWholeField(field) == *plain &&
                        *plain == roundHalfEven(leadingNumber(field)),
                    "hole field read differs from the number rule");
    }
    return 0;
}
