#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>

namespace velmora {

// One hole of a roll, in PRT units (tenths of a millimetre); keynum and
// tracknum are plain numbers.
struct Hole
{
    qint32 xBegin = 0;
    qint32 keynum = 0;
    qint32 xEnd = 0;
    qint32 yPos = 0;
    qint32 keywidth = 0;
    qint32 xNext = 0; // xBegin minus the xBegin of the hole before; 0 for hole 1
    qint32 tracknum = 0;
};

// The holes of the loaded PRT file, positions 1 to holeCount(), with the
// file's header values. Position 0 is a virtual hole at X 0. The storage for
// all 64000 holes is allocated once, when the list is made; reading a file
// never allocates per hole.
class HoleList
{
public:
    static constexpr int Capacity = 64000;

    HoleList() : m_holes(std::make_unique<Hole[]>(Capacity + 1)) {}

    int holeCount() const { return m_holeCount; }

    // Position 0 to holeCount(); the caller keeps p within that range.
    const Hole &hole(int p) const { return m_holes[p]; }

    // Empties the list; the storage stays.
    void clear() { m_holeCount = 0; }

    // Adds a hole at position holeCount() + 1 and computes its xNext from the
    // hole before it (0 for the first hole; a difference beyond the 32-bit
    // range is clamped). Returns false, and keeps the list as it was, when the
    // list already holds Capacity holes.
    bool append(Hole hole)
    {
        if (m_holeCount >= Capacity)
            return false;
        const qint64 next =
            m_holeCount == 0 ? 0 : qint64(hole.xBegin) - m_holes[m_holeCount].xBegin;
        hole.xNext = qint32(qBound(qint64(INT32_MIN), next, qint64(INT32_MAX)));
        m_holes[++m_holeCount] = hole;
        return true;
    }

    // Header values. Texts and numbers that a file does not contain keep the
    // values of the file read before it.
    QString rollName;
    QString gammaName;
    QString nType;       // one upper-case letter, or empty
    QString holeKeyword; // "PONS", "NOOT" or empty
    bool hasPons = false;
    bool hasNoot = false;
    float paperWidth = 0.0f;
    float paperOffset = 0.0f;
    float rollLength = 0.0f;

private:
    std::unique_ptr<Hole[]> m_holes;
    int m_holeCount = 0;
};

} // namespace velmora
