#pragma once

#include "settings/parameterfile.h"

#include <QObject>
#include <QString>

namespace velmora {

class Logbook;

// The parameter file in the settings folder: read once at start-up into the
// program's settings, written at exit from them. Every value read is applied
// through the same intent that the control showing it uses, in the order of
// the file. A file that cannot be created, read or written costs one log line
// naming the reason and the path; the running settings are kept.
class SettingsStore : public QObject
{
    Q_OBJECT
public:
    SettingsStore(const QString &settingsDir, const SettingTargets &targets, Logbook &log,
                  QObject *parent = nullptr);

    // Start-up's read, with formLoading set by the caller. A missing file is
    // created holding the two lines of the user format first.
    void readParameterFile();
    // Writes every setting, replacing the file at once; false when the file
    // could not be written.
    bool writeParameterFile();

    // The file as writeParameterFile writes it now.
    QByteArray currentText() const { return ParameterFile::write(m_targets); }

    // True when the file can be opened for reading.
    static bool fileExists(const QString &path);

private:
    bool save(const QByteArray &contents, const QString &failure);

    QString m_path;
    SettingTargets m_targets;
    Logbook &m_log;
};

} // namespace velmora
