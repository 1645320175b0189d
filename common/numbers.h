#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

// The number rules every subsystem shares: how typed and stored numbers are
// read, how measured values become whole numbers, and the text forms numbers
// are written in.
namespace velmora {

// Reads the decimal number at the start of a text. Blanks and tabs anywhere in
// the text are skipped; a sign, digits, one "." and an exponent ("E3", "e-2")
// are taken; reading stops at the first character that cannot continue the
// number. A text without a number gives 0. The result is always finite: a
// number too large for a double gives the largest double of its sign.
double leadingNumber(std::string_view text);
double leadingNumber(QStringView text);

// Rounds to the nearest whole number, a value exactly halfway going to the even
// neighbour (12.5 gives 12, 13.5 gives 14). Values outside the 32-bit range give
// the nearest limit; NaN gives 0.
qint32 roundHalfEven(double value);

// True when roundHalfEven(value) needs no clamping.
bool fitsInt32(double value);

// A whole number with one blank before a non-negative value and the minus sign
// before a negative one: 41 gives " 41", -3 gives "-3".
QString numberText(qint64 value);

// A single-precision value as decimal text: at most seven significant digits,
// "." as decimal point, no leading zero before the point of a value below 1, no
// blanks (1000, 997.5, .5). Very large and very small values use an exponent
// (1E+07, 1E-05).
QString singleText(float value);

} // namespace velmora
