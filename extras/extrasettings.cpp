#include "extras/extrasettings.h"

#include <QSettings>

#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

ExtraValues readValues(QSettings &ini)
{
    ExtraValues values;
    ini.beginGroup(u"events"_s);
    for (const JobEvent event : AllJobEvents)
        values.command(event) = ini.value(jobEventName(event)).toString();
    ini.endGroup();
    return values;
}

void writeValues(QSettings &ini, const ExtraValues &values)
{
    ini.beginGroup(u"events"_s);
    for (const JobEvent event : AllJobEvents)
        ini.setValue(jobEventName(event), values.command(event));
    ini.endGroup();
}

QString statusText(QSettings::Status status)
{
    return status == QSettings::FormatError ? u"not in INI format"_s : u"no access"_s;
}

} // namespace

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
    m_values = readValues(ini);
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
