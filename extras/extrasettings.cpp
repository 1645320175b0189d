#include "extras/extrasettings.h"

#include "remote/remotetoken.h"

#include <QSettings>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

const QString LanguageKey = u"ui/language"_s;

std::optional<UiLanguage> uiLanguageOf(const QString &name)
{
    for (const UiLanguage language : {UiLanguage::System, UiLanguage::Dutch, UiLanguage::English}) {
        if (name.trimmed().compare(uiLanguageName(language), Qt::CaseInsensitive) == 0)
            return language;
    }
    return std::nullopt;
}

// A value as the file has it: QSettings reads one with a comma as a list.
QString valueText(const QSettings &ini, const QString &key)
{
    const QVariant value = ini.value(key);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                    : value.toString();
}

// [remote]: a value that is there but unusable is reported and its default
// used. A token not of the form the program makes is dropped, so that the
// view makes a proper one when it is turned on.
RemoteSettings readRemote(const QSettings &ini, QStringList &problems)
{
    RemoteSettings remote;
    const QString enabled = valueText(ini, u"remote/enabled"_s);
    if (enabled.compare(u"true"_s, Qt::CaseInsensitive) == 0)
        remote.enabled = true;
    else if (!enabled.isEmpty() && enabled.compare(u"false"_s, Qt::CaseInsensitive) != 0)
        problems << u"[remote] enabled=%1 is neither true nor false; false is used"_s.arg(enabled);

    const QString port = valueText(ini, u"remote/port"_s);
    bool isNumber = false;
    const uint number = port.toUInt(&isNumber);
    if (isNumber && number >= 1 && number <= 65535)
        remote.port = quint16(number);
    else if (!port.isEmpty())
        problems << u"[remote] port=%1 is not a number from 1 to 65535; %2 is used"_s.arg(port).arg(
            RemoteSettings::DefaultPort);

    const QString token = valueText(ini, u"remote/token"_s);
    if (isRemoteTokenForm(token))
        remote.token = token;
    else if (!token.isEmpty())
        problems << u"[remote] token is not 32 hexadecimal digits; a new one is made when the "
                    u"view is turned on"_s;
    return remote;
}

ExtraValues readValues(QSettings &ini, QStringList &problems)
{
    ExtraValues values;
    ini.beginGroup(u"events"_s);
    for (const JobEvent event : AllJobEvents)
        values.command(event) = ini.value(jobEventName(event)).toString();
    ini.endGroup();
    values.remote = readRemote(ini, problems);
    const QString language = valueText(ini, LanguageKey);
    if (const std::optional<UiLanguage> chosen = uiLanguageOf(language))
        values.language = *chosen;
    else if (!language.isEmpty())
        problems << u"[ui] language=%1 is not nl, en or system; the desktop's language is used"_s
                        .arg(language);
    return values;
}

void writeValues(QSettings &ini, const ExtraValues &values)
{
    ini.beginGroup(u"events"_s);
    for (const JobEvent event : AllJobEvents)
        ini.setValue(jobEventName(event), values.command(event));
    ini.endGroup();
    ini.beginGroup(u"remote"_s);
    ini.setValue(u"enabled"_s, values.remote.enabled);
    ini.setValue(u"port"_s, int(values.remote.port));
    ini.setValue(u"token"_s, values.remote.token);
    ini.endGroup();
    ini.setValue(LanguageKey, uiLanguageName(values.language));
}

QString statusText(QSettings::Status status)
{
    return status == QSettings::FormatError ? u"not in INI format"_s : u"no access"_s;
}

} // namespace

QString uiLanguageName(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Dutch:
        return u"nl"_s;
    case UiLanguage::English:
        return u"en"_s;
    case UiLanguage::System:
        break;
    }
    return u"system"_s;
}

ExtraSettings::ExtraSettings(const QString &settingsDir,
                             std::function<void(const QString &)> writeLog, QObject *parent)
    : QObject(parent), m_path(settingsDir + fileName()), m_writeLog(std::move(writeLog))
{
    m_writer.setMaxThreadCount(1);
}

ExtraSettings::~ExtraSettings()
{
    m_writer.waitForDone();
}

void ExtraSettings::read()
{
    QSettings ini(m_path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        logFailure(u"read"_s, statusText(ini.status()), m_readFailureLogged);
        return;
    }
    QStringList problems;
    m_values = readValues(ini, problems);
    for (const QString &problem : std::as_const(problems))
        m_writeLog(u"Extra settings: %1: %2"_s.arg(problem, m_path));
}

UiLanguage ExtraSettings::readLanguage(const QString &settingsDir)
{
    const QSettings ini(settingsDir + fileName(), QSettings::IniFormat);
    return uiLanguageOf(valueText(ini, LanguageKey)).value_or(UiLanguage::System);
}

void ExtraSettings::setValues(const ExtraValues &values)
{
    if (values == m_values)
        return;
    m_values = values;
    m_writer.start([this, values] {
        QSettings ini(m_path, QSettings::IniFormat);
        writeValues(ini, values);
        ini.sync();
        if (ini.status() == QSettings::NoError)
            return;
        const QString reason = statusText(ini.status());
        QMetaObject::invokeMethod(
            this, [this, reason] { logFailure(u"written"_s, reason, m_writeFailureLogged); });
    });
}

void ExtraSettings::logFailure(const QString &what, const QString &reason, bool &logged)
{
    if (!std::exchange(logged, true))
        m_writeLog(u"Extra settings cannot be %1 (%2): %3"_s.arg(what, reason, m_path));
}

} // namespace velmora
