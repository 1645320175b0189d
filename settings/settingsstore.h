#pragma once

#include "settings/parameterfile.h"

#include <QObject>
#include <QString>

namespace velmora {

class DisplayOptions;
class FormatTable;
class HoleCommandComposer;
class Logbook;
class PortController;
class PrtOpener;

// The parameter file in the settings folder: read once at start-up into the
// program's settings, written at exit from them. Every value read is applied
// through the same intent that the control showing it uses, in the order of
// the file. A file that cannot be created, read or written costs one log line
// naming the reason and the path; the running settings are kept.
class SettingsStore : public QObject
{
    Q_OBJECT
public:
    SettingsStore(const QString &settingsDir, PortController &port, FormatTable &formats,
                  HoleCommandComposer &composer, PrtOpener &opener, DisplayOptions &display,
                  Logbook &log, QObject *parent = nullptr);

    // Start-up's read, with formLoading set by the caller. A missing file is
    // created holding the two lines of the user format first.
    void readParameterFile();
    // Writes every setting, replacing the file at once; false when the file
    // could not be written.
    bool writeParameterFile();

    // The settings as they stand now, in the form the file keeps them.
    ParameterFile::Values currentValues() const;

    // True when the file can be opened for reading.
    static bool fileExists(const QString &path);

signals:
    // A calibration value was read: its text form for the entry, which checks
    // it again and colours it. x: txtXcal, else txtYcal.
    void calibrationRead(bool x, const QString &text);

private:
    bool save(const QByteArray &contents, const QString &failure);
    void apply(const ParameterFile::Setting &setting);

    QString m_path;
    PortController &m_port;
    FormatTable &m_formats;
    HoleCommandComposer &m_composer;
    PrtOpener &m_opener;
    DisplayOptions &m_display;
    Logbook &m_log;
};

} // namespace velmora
