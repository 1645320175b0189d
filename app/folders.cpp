#include "app/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

QString sharedFolder(const QString &appDir)
{
    return QDir::cleanPath(appDir + u"../share/velmora"_s) + u'/';
}

} // namespace

QString helpFile(const QString &appDir, const QString &fileName)
{
    const QString beside = appDir + fileName;
    const QString shared = sharedFolder(appDir) + fileName;
    return !QFileInfo::exists(beside) && QFileInfo::exists(shared) ? shared : beside;
}

QString translationFile(const QString &appDir, const QString &fileName)
{
    return helpFile(appDir, fileName);
}

QString samplesFolder(const QString &appDir)
{
    const QString shared = sharedFolder(appDir) + u"samples/"_s;
    const bool rollBeside =
        !QDir(appDir).entryList({u"*.prt"_s, u"*.PRT"_s}, QDir::Files).isEmpty();
    return !rollBeside && QFileInfo(shared).isDir() ? shared : appDir;
}

// Installed: the documents are not beside the program but in share/velmora/.
bool installed(const QString &appDir)
{
    return !QFileInfo::exists(appDir + u"velmorahelpUK.html"_s) &&
           QFileInfo(sharedFolder(appDir)).isDir();
}

QString settingsFolder(const QString &appDir)
{
    // An installed program never writes into a system folder such as
    // /usr/bin, not even when root runs it.
    if (QFileInfo(appDir).isWritable() && !installed(appDir))
        return appDir;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config + u'/';
}

} // namespace velmora
