#include "app/application.h"
#include "app/filedialogchooser.h"
#include "app/folders.h"
#include "app/language.h"
#include "extras/extrasettings.h"
#include "history/historycsv.h"
#include "platform/desktopnotifier.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
}

QString appDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

// velmora --history: the job history as CSV on standard output, without a
// window, so also without a display.
int printHistory(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameProgram();
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return 1;
    return velmora::printHistory(velmora::settingsFolder(appDir()), out, err);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--history") == 0)
        return printHistory(argc, argv);

    QApplication app(argc, argv);
    nameProgram();
    const QString settingsDir = velmora::settingsFolder(appDir());

    // The language is chosen once, before the window is built with its captions.
    velmora::Translations translations;
    const velmora::WindowLanguage language = velmora::windowLanguage(
        velmora::ExtraSettings::readLanguage(settingsDir), QLocale::system().uiLanguages());
    for (const QString &missing : translations.install(language, appDir()))
        QTextStream(stderr) << "velmora: cannot load the translation " << missing << "\n";

    velmora::SystemClock clock;
    velmora::QtSerialPortDevice port;
    velmora::FileDialogChooser chooser;
    velmora::DesktopNotifier notifier;
    velmora::Application velmora(
        {clock, port, chooser, appDir(), settingsDir, &velmora::presentSerialPorts, &notifier});
    chooser.setParent(&velmora.window);
    velmora.window.show();
    return QApplication::exec();
}
