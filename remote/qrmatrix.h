#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

namespace velmora {

// The modules of a QR code, row by row; size 0 when the text cannot be
// encoded. A picture of it needs a light margin of four modules around.
struct QrMatrix
{
    int size = 0;
    std::vector<quint8> dark; // size * size, 1 for a dark module

    bool isDark(int x, int y) const
    {
        return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)] != 0;
    }
};

// The QR code of text (an address), with medium error correction.
QrMatrix qrMatrix(const QByteArray &text);

} // namespace velmora
