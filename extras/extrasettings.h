#pragma once

#include "events/jobevent.h"
#include "remote/remotesettings.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <array>
#include <functional>

namespace velmora {

// The language of the window: the desktop's (Dutch on a Dutch desktop,
// English on any other), or Dutch or English whatever the desktop speaks.
enum class UiLanguage
{
    System,
    Dutch,
    English
};

// The value in velmora.ini: "system", "nl" or "en".
QString uiLanguageName(UiLanguage language);

// The values kept in velmora.ini, one struct per section. A new section is a
// struct here and a few lines in readValues and writeValues.
struct ExtraValues
{
    // [events]: the command line of each event, empty for none.
    std::array<QString, AllJobEvents.size()> commands;

    QString &command(JobEvent event) { return commands[std::size_t(event)]; }
    const QString &command(JobEvent event) const { return commands[std::size_t(event)]; }

    // [remote]: the remote view's switch, port and token.
    RemoteSettings remote;

    // [ui]: the window's language, taken at start-up.
    UiLanguage language = UiLanguage::System;

    bool operator==(const ExtraValues &) const = default;
};

// The extra settings: "velmora.ini" in the settings folder, beside the
// parameter file, in INI format so that it can be edited by hand. Read at
// start-up; written anew, off the window's thread, whenever a value changes.
// A file that cannot be read or written is reported in one log line (per
// kind, per run) and the program runs on with the values it has; a value
// that cannot be used gets one log line and its default.
class ExtraSettings : public QObject
{
    Q_OBJECT
public:
    static QString fileName() { return QStringLiteral("velmora.ini"); }

    ExtraSettings(const QString &settingsDir, std::function<void(const QString &)> writeLog,
                  QObject *parent = nullptr);
    // Waits for the last write.
    ~ExtraSettings() override;

    QString path() const { return m_path; }

    void read();
    // The window's language alone, read before the window is made; a value
    // other than "nl", "en" or "system" is the desktop's language.
    static UiLanguage readLanguage(const QString &settingsDir);
    const ExtraValues &values() const { return m_values; }
    void setValues(const ExtraValues &values);

    // Blocks until every write asked for has ended (tests).
    void waitForWrites() { m_writer.waitForDone(); }

private:
    void logFailure(const QString &what, const QString &reason, bool &logged);

    QString m_path;
    std::function<void(const QString &)> m_writeLog;
    ExtraValues m_values;
    bool m_readFailureLogged = false;
    bool m_writeFailureLogged = false;
    QThreadPool m_writer; // one thread: writes land in the order asked
};

} // namespace velmora
