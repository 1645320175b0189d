// Feeds arbitrary bytes to the parameter-file reader and applies what it
// reads to the program's own settings objects, as start-up does. Besides the
// sanitizers' own checks it stops on:
// - a line that breaks its kind's rules (a list position naming no entry, a
//   "force on" line that checks nothing, a text with a line end or outer
//   blanks);
// - settings that do not survive writing them and reading them back: the
//   file written must hold one line per setting, and a program that reads it
//   must write it again byte for byte.
#include "format/formattable.h"
#include "format/holecommandcomposer.h"
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "platform/filechooser.h"
#include "prt/holelist.h"
#include "prt/prtopener.h"
#include "roll/displayoptions.h"
#include "settings/calibrationentries.h"
#include "settings/parameterfile.h"
#include "tests/support/fakeserialport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace velmora;
using ParameterFile::Kind;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_parameterfile: %s\n", what);
        std::abort();
    }
}

struct NoChooser final : FileChooser
{
    void choosePrtFile(const QString &, std::function<void(FileChoice)>) override {}
};

// The link below the port settings and the hole list: made once, as nothing
// here changes them beyond the fake port's record of the calls it had, which
// is dropped before every input.
struct Shared
{
    HoleList holes; // large and never written here
    FakeSerialPort port;
    Logbook log;
    LinkLamps lamps;
    CommEvents events{port, log, lamps, [] { return 1; }};
    NoChooser chooser;

    static Shared &instance()
    {
        static Shared shared;
        return shared;
    }
};

// The objects that hold the settings, as the program makes them: new for
// every file read, so that each read starts from the program's first state.
struct Program
{
    Shared &shared = Shared::instance();
    bool formLoading = true;
    PortController controller{shared.port,   shared.log,  shared.lamps,
                              shared.events, formLoading, {}};
    FormatTable formats;
    HoleCommandComposer composer{shared.holes};
    CalibrationEntries calibration{composer};
    PrtOpener opener{shared.holes, shared.chooser};
    DisplayOptions display;
    SettingTargets targets{opener, controller, formats, calibration, display};

    // Reads a file as start-up does and writes what the program then holds.
    QByteArray readAndWrite(QByteArrayView bytes)
    {
        const QList<ParameterFile::Line> lines = ParameterFile::read(bytes);
        for (const ParameterFile::Line &line : lines)
            checkLine(line);
        ParameterFile::apply(lines, targets);
        return ParameterFile::write(targets);
    }

    static void checkLine(const ParameterFile::Line &line)
    {
        const ParameterFile::Value &value = line.value;
        switch (line.setting->kind) {
        case Kind::Position:
            require(value.position >= 0 && value.position < line.setting->entries(),
                    "position names no entry");
            break;
        case Kind::ForceOn:
            require(value.position == 1, "force-on line that checks nothing");
            break;
        case Kind::Text:
            require(!value.text.contains(QLatin1Char('\r')) &&
                        !value.text.contains(QLatin1Char('\n')),
                    "text holds a line end");
            require(!value.text.startsWith(QLatin1Char(' ')) &&
                        !value.text.endsWith(QLatin1Char(' ')),
                    "text keeps an outer blank");
            break;
        case Kind::Number:
            break;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Shared::instance().port.clearCalls();
    const auto bytes = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray written = Program().readAndWrite(bytes);
    const auto lines = qsizetype(ParameterFile::settings().size());
    require(written.count("\r\n") == lines && written.endsWith("\r\n") &&
                written.count('\r') == lines && written.count('\n') == lines,
            "written file is not one line per setting");
    require(Program().readAndWrite(written) == written, "settings changed by writing and reading");
    return 0;
}
