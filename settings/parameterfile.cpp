#include "settings/parameterfile.h"

#include "common/numbers.h"
#include "format/formattable.h"
#include "link/portcontroller.h"
#include "prt/prtopener.h"
#include "prt/prttext.h"
#include "roll/displayoptions.h"
#include "settings/calibrationentries.h"

#include <array>
#include <cmath>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora::ParameterFile {

namespace {

using Axis = CalibrationEntries::Axis;

Value position(int p)
{
    return {QString(), p};
}

Value flag(bool on)
{
    return position(on ? 1 : 0);
}

// A position in one of the five port choice lists.
template <int PortChoices::*choice, void (PortController::*choose)(int), QStringList (*list)()>
constexpr Setting portChoice(std::string_view key)
{
    // The lists never change: counted once, not built for every line read.
    return {key, Kind::Position,
            [] {
                static const int count = int(list().size());
                return count;
            },
            [](SettingTargets &t, const Value &v) { (t.port.*choose)(v.position); },
            [](const SettingTargets &t) { return position(t.port.choices().*choice); }};
}

template <Axis axis> constexpr Setting calibration(std::string_view key)
{
    return {key, Kind::Number, nullptr,
            [](SettingTargets &t, const Value &v) { t.calibration.enter(axis, v.text); },
            [](const SettingTargets &t) { return Value{singleText(t.calibration.factor(axis))}; }};
}

// A check box of the display options: 0 unchecked, 1 checked.
template <void (DisplayOptions::*set)(bool), bool (DisplayOptions::*get)() const>
constexpr Setting displayOption(std::string_view key)
{
    return {key, Kind::Position, [] { return 2; },
            [](SettingTargets &t, const Value &v) { (t.display.*set)(v.position == 1); },
            [](const SettingTargets &t) { return flag((t.display.*get)()); }};
}

// Every setting, in the order of the file's lines.
const std::array table = {
    Setting{"idir", Kind::Text, nullptr,
            [](SettingTargets &t, const Value &v) { t.opener.setPrtDir(v.text); },
            [](const SettingTargets &t) { return Value{t.opener.prtDir()}; }},
    portChoice<&PortChoices::port, &PortController::choosePort, &PortController::portChoiceTexts>(
        "port"),
    portChoice<&PortChoices::dataBits, &PortController::chooseDataBits,
               &PortController::dataBitChoiceTexts>("data"),
    portChoice<&PortChoices::baud, &PortController::chooseBaud, &PortController::baudChoiceTexts>(
        "baud"),
    portChoice<&PortChoices::stopBits, &PortController::chooseStopBits,
               &PortController::stopBitChoiceTexts>("stop"),
    portChoice<&PortChoices::parity, &PortController::chooseParity,
               &PortController::parityChoiceTexts>("pari"),
    Setting{"rtse", Kind::ForceOn, nullptr,
            [](SettingTargets &t, const Value &) { t.port.setForceRts(true); },
            [](const SettingTargets &t) { return flag(t.port.forceRts()); }},
    Setting{"dtre", Kind::ForceOn, nullptr,
            [](SettingTargets &t, const Value &) { t.port.setForceDtr(true); },
            [](const SettingTargets &t) { return flag(t.port.forceDtr()); }},
    Setting{"frf1", Kind::Text, nullptr,
            [](SettingTargets &t, const Value &v) { t.formats.setUserFormatFields(v.text); },
            [](const SettingTargets &t) { return Value{t.formats.formatFields(0)}; }},
    Setting{"frl1", Kind::Text, nullptr,
            [](SettingTargets &t, const Value &v) { t.formats.setUserFormatLengths(v.text); },
            [](const SettingTargets &t) { return Value{t.formats.formatLengths(0)}; }},
    Setting{"form", Kind::Position,
            [] {
                static const int count = int(FormatTable::formatNames().size());
                return count;
            },
            [](SettingTargets &t, const Value &v) { t.formats.selectFormat(v.position); },
            [](const SettingTargets &t) { return position(t.formats.selectedFormat()); }},
    calibration<Axis::X>("xcal"),
    calibration<Axis::Y>("ycal"),
    displayOption<&DisplayOptions::setRight, &DisplayOptions::right>("disr"),
    displayOption<&DisplayOptions::setMirror, &DisplayOptions::mirror>("mirr"),
};

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

// The value of a line as its setting's kind reads it; nothing when the kind
// refuses it.
std::optional<Value> readValue(const Setting &setting, const QString &text)
{
    switch (setting.kind) {
    case Kind::Text:
        return Value{withoutOuterBlanks(text)};
    case Kind::Number:
        return Value{singleText(static_cast<float>(leadingNumber(text)))};
    case Kind::ForceOn:
        if (leadingNumber(text) != 1.0)
            return std::nullopt;
        return position(1);
    case Kind::Position: {
        // A 16-bit whole number naming an entry.
        const double number = leadingNumber(text);
        const double whole = std::nearbyint(number);
        if (!(whole >= 0.0 && whole < setting.entries()))
            return std::nullopt;
        return position(roundHalfEven(number));
    }
    }
    return std::nullopt;
}

// What one line of the file applies; nothing when the line is skipped.
std::optional<Line> readLine(std::string_view line)
{
    if (line.size() < 4)
        return std::nullopt;
    const std::string_view key = line.substr(0, 4);
    for (const Setting &setting : table) {
        if (setting.key != key)
            continue;
        // The fifth character separates key and value, whatever it is.
        const QString text = decodeFileText(line.size() > 5 ? line.substr(5) : std::string_view());
        if (const std::optional<Value> value = readValue(setting, text))
            return Line{&setting, *value};
        return std::nullopt;
    }
    return std::nullopt;
}

QString writtenValue(const Setting &setting, const Value &value)
{
    switch (setting.kind) {
    case Kind::Text: {
        QString text = value.text;
        text.remove(u'\r');
        text.remove(u'\n');
        return text;
    }
    case Kind::Number:
        return value.text;
    case Kind::Position:
    case Kind::ForceOn:
        break;
    }
    return QString::number(value.position);
}

} // namespace

QString fileName()
{
    return u"##vpar.prm"_s;
}

QByteArray firstStartText()
{
    return "frf1 00050701****************\r\nfrl1 01040404****************\r\n"_ba;
}

std::span<const Setting> settings()
{
    return table;
}

QList<Line> read(QByteArrayView bytes)
{
    const std::string_view text(bytes.data(), std::size_t(bytes.size()));
    QList<Line> lines;
    lines.reserve(qsizetype(table.size())); // a file as the program writes it
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (auto line = readLine(text.substr(start, end - start)))
            lines.append(std::move(*line));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

void apply(const QList<Line> &lines, SettingTargets &targets)
{
    for (const Line &line : lines)
        line.setting->apply(targets, line.value);
}

QByteArray write(const SettingTargets &targets)
{
    QByteArray file;
    for (const Setting &setting : table) {
        file += QByteArrayView(setting.key.data(), qsizetype(setting.key.size()));
        file += ' ';
        file += writtenValue(setting, setting.readBack(targets)).toUtf8();
        file += "\r\n";
    }
    return file;
}

} // namespace velmora::ParameterFile
