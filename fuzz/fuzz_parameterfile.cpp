// Feeds arbitrary bytes to the parameter-file reader. Besides the sanitizers'
// own checks it stops on:
// - a setting that breaks the reader's rules (a list position naming no
//   entry, a "force on" setting that does not check its box, a text with a
//   line end or outer blanks);
// - settings that do not survive writing them and reading them back: the
//   file written must be fifteen lines and give the same settings again (the
//   calibration values to their seven written digits).
#include "settings/parameterfile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace velmora;
using ParameterFile::Key;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_parameterfile: %s\n", what);
        std::abort();
    }
}

void checkSetting(const ParameterFile::Setting &setting)
{
    const int size = ParameterFile::listSize(setting.key);
    if (size > 0)
        require(setting.position >= 0 && setting.position < size, "position names no entry");
    if (setting.key == Key::Rtse || setting.key == Key::Dtre)
        require(setting.position == 1, "force-on setting that checks nothing");
    if (setting.key == Key::Idir || setting.key == Key::Frf1 || setting.key == Key::Frl1) {
        require(!setting.text.contains(QLatin1Char('\r')) &&
                    !setting.text.contains(QLatin1Char('\n')),
                "text holds a line end");
        require(!setting.text.startsWith(QLatin1Char(' ')) &&
                    !setting.text.endsWith(QLatin1Char(' ')),
                "text keeps an outer blank");
    }
}

ParameterFile::Values readValues(QByteArrayView bytes, bool check)
{
    ParameterFile::Values values;
    for (const ParameterFile::Setting &setting : ParameterFile::read(bytes)) {
        if (check)
            checkSetting(setting);
        ParameterFile::apply(setting, values);
    }
    return values;
}

bool sameToSevenDigits(float a, float b)
{
    return a == b || std::fabs(a - b) <= std::fabs(a) * 1e-6f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto bytes = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    ParameterFile::Values first = readValues(bytes, true);

    const QByteArray written = ParameterFile::write(first);
    require(written.count("\r\n") == ParameterFile::KeyCount && written.endsWith("\r\n") &&
                written.count('\r') == ParameterFile::KeyCount &&
                written.count('\n') == ParameterFile::KeyCount,
            "written file is not fifteen lines");
    ParameterFile::Values second = readValues(written, true);
    require(sameToSevenDigits(first.xCalibration, second.xCalibration) &&
                sameToSevenDigits(first.yCalibration, second.yCalibration),
            "calibration changed by writing and reading");
    second.xCalibration = first.xCalibration;
    second.yCalibration = first.yCalibration;
    require(first == second, "settings changed by writing and reading");
    return 0;
}
