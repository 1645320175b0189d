#include "remote/qrmatrix.h"

#include <qrencode.h>

#include <memory>

namespace velmora {

QrMatrix qrMatrix(const QByteArray &text)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    QrMatrix matrix;
    if (!code)
        return matrix;
    matrix.size = code->width;
    matrix.dark.resize(std::size_t(code->width) * std::size_t(code->width));
    for (std::size_t i = 0; i < matrix.dark.size(); ++i)
        matrix.dark[i] = code->data[i] & 1;
    return matrix;
}

} // namespace velmora
