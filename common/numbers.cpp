#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace velmora {

namespace {

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t';
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// The power of ten of the first significant digit of a number text such as
// "0.0012e-400"; only its sign matters, so it saturates early.
long decimalMagnitude(const std::string &number)
{
    const auto e = number.find('e');
    const std::string mantissa = number.substr(0, e);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string::npos)
        return -1;
    long magnitude =
        first < point ? static_cast<long>(point - first - 1) : -static_cast<long>(first - point);
    if (e != std::string::npos) {
        long exponent = 0;
        std::size_t i = e + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size() && exponent < 1000000; ++i)
            exponent = exponent * 10 + (number[i] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

// Collects the characters of the leading number, blanks removed, into an ASCII
// text that std::from_chars accepts. Works on any sequence of code points.
template <typename Next> double parseLeading(Next next)
{
    std::string digits;
    bool negative = false;
    char32_t c = 0;
    auto advance = [&]() {
        do {
            if (!next(c)) {
                c = 0;
                return;
            }
        } while (isBlank(c));
    };

    advance();
    if (c == U'+' || c == U'-') {
        negative = c == U'-';
        advance();
    }
    bool mantissaDigits = false;
    while (isDigit(c)) {
        digits.push_back(static_cast<char>(c));
        mantissaDigits = true;
        advance();
    }
    if (c == U'.') {
        digits.push_back('.');
        advance();
        while (isDigit(c)) {
            digits.push_back(static_cast<char>(c));
            mantissaDigits = true;
            advance();
        }
    }
    if (!mantissaDigits)
        return 0.0;
    if (c == U'E' || c == U'e') {
        std::string exponent = "e";
        advance();
        if (c == U'+' || c == U'-') {
            exponent.push_back(static_cast<char>(c));
            advance();
        }
        bool exponentDigits = false;
        while (isDigit(c)) {
            exponent.push_back(static_cast<char>(c));
            exponentDigits = true;
            advance();
        }
        if (exponentDigits)
            digits += exponent;
    }

    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = decimalMagnitude(digits) < 0 ? 0.0 : std::numeric_limits<double>::max();
    return negative ? -value : value;
}

} // namespace

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    return parseLeading([&](char32_t &c) {
        if (i >= text.size())
            return false;
        c = static_cast<unsigned char>(text[i++]);
        return true;
    });
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    return parseLeading([&](char32_t &c) {
        if (i >= text.size())
            return false;
        c = text[i++].unicode();
        return true;
    });
}

bool fitsInt32(double value)
{
    if (std::isnan(value))
        return false;
    const double r = std::nearbyint(value);
    return r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max();
}

qint32 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // nearbyint rounds in the current rounding mode, which is to nearest with
    // ties to even unless someone changed it; nothing in this program does.
    const double r = std::nearbyint(value);
    if (r <= std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    if (r >= std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return static_cast<qint32>(r);
}

QString numberText(qint64 value)
{
    const QString digits = QString::number(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString singleText(float value)
{
    if (value == 0.0f || std::isnan(value))
        return QStringLiteral("0");
    // 'G' with seven digits writes at most seven significant digits, drops
    // trailing zeros and switches to an exponent outside 1E-05 .. 9999999,
    // always with "." whatever the locale.
    QString text = QString::number(static_cast<double>(value), 'G', 7);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

} // namespace velmora
