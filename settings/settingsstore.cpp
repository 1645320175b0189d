#include "settings/settingsstore.h"

#include "format/formattable.h"
#include "format/holecommandcomposer.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "prt/prtopener.h"
#include "roll/displayoptions.h"
#include "settings/calibration.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace velmora {

using ParameterFile::Key;

SettingsStore::SettingsStore(const QString &settingsDir, PortController &port, FormatTable &formats,
                             HoleCommandComposer &composer, PrtOpener &opener,
                             DisplayOptions &display, Logbook &log, QObject *parent)
    : QObject(parent), m_path(settingsDir + ParameterFile::fileName()), m_port(port),
      m_formats(formats), m_composer(composer), m_opener(opener), m_display(display), m_log(log)
{}

bool SettingsStore::fileExists(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

void SettingsStore::readParameterFile()
{
    // Only a missing file is made anew: one that is there but cannot be read
    // is left as it is for the user to mend.
    if (!fileExists(m_path) && !QFileInfo::exists(m_path))
        save(ParameterFile::firstStartText(), u"created"_s);

    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            for (const ParameterFile::Setting &setting : ParameterFile::read(bytes))
                apply(setting);
        }
    }
    if (file.error() != QFileDevice::NoError && file.exists())
        m_log.writeLog(u"Settings file cannot be read (%1): %2"_s.arg(file.errorString(), m_path));
    m_formats.showCurrentFormat();
}

bool SettingsStore::writeParameterFile()
{
    return save(ParameterFile::write(currentValues()), u"written"_s);
}

bool SettingsStore::save(const QByteArray &contents, const QString &failure)
{
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return true;
    m_log.writeLog(
        u"Settings file cannot be %1 (%2): %3"_s.arg(failure, file.errorString(), m_path));
    return false;
}

void SettingsStore::apply(const ParameterFile::Setting &setting)
{
    const int p = setting.position;
    switch (setting.key) {
    case Key::Idir:
        m_opener.setPrtDir(setting.text);
        break;
    case Key::Port:
        m_port.choosePort(p);
        break;
    case Key::Data:
        m_port.chooseDataBits(p);
        break;
    case Key::Baud:
        m_port.chooseBaud(p);
        break;
    case Key::Stop:
        m_port.chooseStopBits(p);
        break;
    case Key::Pari:
        m_port.chooseParity(p);
        break;
    case Key::Rtse:
        m_port.setForceRts(true);
        break;
    case Key::Dtre:
        m_port.setForceDtr(true);
        break;
    case Key::Frf1:
        m_formats.setUserFormatFields(setting.text);
        break;
    case Key::Frl1:
        m_formats.setUserFormatLengths(setting.text);
        break;
    case Key::Form:
        m_formats.selectFormat(p);
        break;
    case Key::Xcal:
    case Key::Ycal: {
        // The entry's own check decides: a value out of range is shown
        // light cyan and leaves the factor as it was.
        const bool x = setting.key == Key::Xcal;
        if (const std::optional<float> factor = calibrationValue(setting.text))
            x ? m_composer.setXCalibration(*factor) : m_composer.setYCalibration(*factor);
        emit calibrationRead(x, setting.text);
        break;
    }
    case Key::Disr:
        m_display.setRight(p == 1);
        break;
    case Key::Mirr:
        m_display.setMirror(p == 1);
        break;
    }
}

ParameterFile::Values SettingsStore::currentValues() const
{
    const PortChoices &choices = m_port.choices();
    ParameterFile::Values values;
    values.prtDir = m_opener.prtDir();
    values.port = choices.port;
    values.dataBits = choices.dataBits;
    values.baud = choices.baud;
    values.stopBits = choices.stopBits;
    values.parity = choices.parity;
    values.forceRts = m_port.forceRts();
    values.forceDtr = m_port.forceDtr();
    values.userFields = m_formats.formatFields(0);
    values.userLengths = m_formats.formatLengths(0);
    values.format = m_formats.selectedFormat();
    values.xCalibration = m_composer.XCalibration();
    values.yCalibration = m_composer.YCalibration();
    values.right = m_display.right();
    values.mirror = m_display.mirror();
    return values;
}

} // namespace velmora
