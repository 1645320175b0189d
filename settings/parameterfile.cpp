#include "settings/parameterfile.h"

#include "common/numbers.h"
#include "prt/prttext.h"
#include "settings/calibration.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace velmora::ParameterFile {

namespace {

constexpr std::array<std::string_view, KeyCount> keyNames = {
    "idir", "port", "data", "baud", "stop", "pari", "rtse", "dtre",
    "frf1", "frl1", "form", "xcal", "ycal", "disr", "mirr",
};

// COM1 to COM6; 7 and 8 data bits; 300 to 115200 baud; 1 and 2 stop bits;
// None, Even, Odd; the three formats; unchecked and checked.
constexpr std::array<int, KeyCount> listSizes = {0, 6, 2, 10, 2, 3, 0, 0, 0, 0, 3, 0, 0, 2, 2};

// The kinds of value.
bool isText(Key key)
{
    return key == Key::Idir || key == Key::Frf1 || key == Key::Frl1;
}

bool isCalibration(Key key)
{
    return key == Key::Xcal || key == Key::Ycal;
}

bool isForceOn(Key key)
{
    return key == Key::Rtse || key == Key::Dtre;
}

QString withoutOuterBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The setting of one line; nothing when the line is skipped.
std::optional<Setting> readLine(std::string_view line)
{
    if (line.size() < 4)
        return std::nullopt;
    int k = 0;
    while (k < KeyCount && keyNames[k] != line.substr(0, 4))
        ++k;
    if (k == KeyCount)
        return std::nullopt;

    Setting setting;
    setting.key = Key(k);
    // The fifth character separates key and value, whatever it is.
    const QString value = decodeFileText(line.size() > 5 ? line.substr(5) : std::string_view());
    if (isText(setting.key)) {
        setting.text = withoutOuterBlanks(value);
        return setting;
    }
    const double number = leadingNumber(value);
    if (isCalibration(setting.key)) {
        setting.number = static_cast<float>(number);
        setting.text = singleText(setting.number);
        return setting;
    }
    if (isForceOn(setting.key)) {
        if (number != 1.0)
            return std::nullopt;
        setting.position = 1;
        return setting;
    }
    // A list position or a box state: a 16-bit whole number naming an entry.
    const double whole = std::nearbyint(number);
    if (!(whole >= 0.0 && whole < listSizes[k]))
        return std::nullopt;
    setting.position = roundHalfEven(number);
    return setting;
}

QString oneLine(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

} // namespace

QString fileName()
{
    return u"##vpar.prm"_s;
}

int listSize(Key key)
{
    return listSizes[int(key)];
}

QList<Setting> read(QByteArrayView bytes)
{
    const std::string_view text(bytes.data(), std::size_t(bytes.size()));
    QList<Setting> settings;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (const auto setting = readLine(text.substr(start, end - start)))
            settings.append(*setting);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return settings;
}

QByteArray firstStartText()
{
    return "frf1 00050701****************\r\nfrl1 01040404****************\r\n"_ba;
}

void apply(const Setting &setting, Values &values)
{
    const int p = setting.position;
    switch (setting.key) {
    case Key::Idir:
        values.prtDir = setting.text;
        break;
    case Key::Port:
        values.port = p;
        break;
    case Key::Data:
        values.dataBits = p;
        break;
    case Key::Baud:
        values.baud = p;
        break;
    case Key::Stop:
        values.stopBits = p;
        break;
    case Key::Pari:
        values.parity = p;
        break;
    case Key::Rtse:
        values.forceRts = true;
        break;
    case Key::Dtre:
        values.forceDtr = true;
        break;
    case Key::Frf1:
        values.userFields = setting.text;
        break;
    case Key::Frl1:
        values.userLengths = setting.text;
        break;
    case Key::Form:
        values.format = p;
        break;
    case Key::Xcal:
        values.xCalibration = calibrationValue(setting.text).value_or(values.xCalibration);
        break;
    case Key::Ycal:
        values.yCalibration = calibrationValue(setting.text).value_or(values.yCalibration);
        break;
    case Key::Disr:
        values.right = p == 1;
        break;
    case Key::Mirr:
        values.mirror = p == 1;
        break;
    }
}

QByteArray write(const Values &values)
{
    const auto flag = [](bool on) { return on ? u"1"_s : u"0"_s; };
    const std::array<QString, KeyCount> texts = {
        oneLine(values.prtDir),
        QString::number(values.port),
        QString::number(values.dataBits),
        QString::number(values.baud),
        QString::number(values.stopBits),
        QString::number(values.parity),
        flag(values.forceRts),
        flag(values.forceDtr),
        oneLine(values.userFields),
        oneLine(values.userLengths),
        QString::number(values.format),
        singleText(values.xCalibration),
        singleText(values.yCalibration),
        flag(values.right),
        flag(values.mirror),
    };
    QByteArray file;
    for (int k = 0; k < KeyCount; ++k) {
        file += QByteArrayView(keyNames[k].data(), qsizetype(keyNames[k].size()));
        file += ' ';
        file += texts[k].toUtf8();
        file += "\r\n";
    }
    return file;
}

} // namespace velmora::ParameterFile
