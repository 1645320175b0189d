#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace velmora {

// The order matters: the settings text and the port layer index tables by it.
enum class Parity
{
    None,
    Even,
    Odd,
    Mark,
    Space
};

// The line settings of a serial port, written as a settings text of four
// items joined by "," without blanks: baud rate, parity letter (N, E, O, M,
// S), data bits, stop bits. "9600,N,8,1" is the standard.
struct LineSettings
{
    static constexpr qint32 MaxBaudRate = 4000000;

    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8; // 5 to 8
    int stopBits = 1; // 1 or 2

    // Reads a settings text. The baud rate is 1 to MaxBaudRate in plain
    // digits, the parity letter may be lower case. Blanks, missing or extra
    // items, other letters, 1.5 stop bits and data bits outside 5 to 8 give
    // nothing.
    static std::optional<LineSettings> parse(QStringView text);

    // The settings text, parity as an upper-case letter: "4800,E,7,2".
    QString text() const;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

} // namespace velmora
