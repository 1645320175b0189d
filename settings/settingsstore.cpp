#include "settings/settingsstore.h"

#include "format/formattable.h"
#include "link/logbook.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace velmora {

SettingsStore::SettingsStore(const QString &settingsDir, const SettingTargets &targets,
                             Logbook &log, QObject *parent)
    : QObject(parent), m_path(settingsDir + ParameterFile::fileName()), m_targets(targets),
      m_log(log)
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
        if (file.error() == QFileDevice::NoError)
            ParameterFile::apply(ParameterFile::read(bytes), m_targets);
    }
    if (file.error() != QFileDevice::NoError && file.exists())
        m_log.writeLog(u"Settings file cannot be read (%1): %2"_s.arg(file.errorString(), m_path));
    m_targets.formats.showCurrentFormat();
}

bool SettingsStore::writeParameterFile()
{
    return save(currentText(), u"written"_s);
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

} // namespace velmora
