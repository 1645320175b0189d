#include "app/application.h"
#include "app/filedialogchooser.h"
#include "platform/desktopnotifier.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The settings live beside the program when its folder is writable, otherwise
// in the user's configuration folder.
QString settingsFolder(const QString &appDir)
{
    if (QFileInfo(appDir).isWritable())
        return appDir;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config + QLatin1Char('/');
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));

    velmora::SystemClock clock;
    velmora::QtSerialPortDevice port;
    velmora::FileDialogChooser chooser;
    velmora::DesktopNotifier notifier;
    const QString appDir = QApplication::applicationDirPath() + QLatin1Char('/');
    velmora::Application velmora({clock, port, chooser, appDir, settingsFolder(appDir),
                                  &velmora::presentSerialPorts, &notifier});
    chooser.setParent(&velmora.window);
    velmora.window.show();
    return QApplication::exec();
}
