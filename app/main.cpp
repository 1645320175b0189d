#include "app/application.h"
#include "app/filedialogchooser.h"
#include "app/folders.h"
#include "platform/desktopnotifier.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QApplication>

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
    velmora::Application velmora({clock, port, chooser, appDir, velmora::settingsFolder(appDir),
                                  &velmora::presentSerialPorts, &notifier});
    chooser.setParent(&velmora.window);
    velmora.window.show();
    return QApplication::exec();
}
