// Draws the main window off screen with a sample roll opened and saves a
// picture of it, for the README.
//
// Usage: velmora-screenshot OUTPUT.png ROLL.prt [SETTINGS-FOLDER SECONDS]
//
// With a settings folder whose ports.map binds COM1 to a controller (the
// simulator), the picture is taken after opening the port, Start, Resume and
// that many seconds of punching.
#include "app/application.h"
#include "job/jobcontrolspanel.h"
#include "platform/filechooser.h"
#include "platform/qtserialportdevice.h"
#include "platform/systemclock.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

class FixedChooser : public velmora::FileChooser
{
public:
    explicit FixedChooser(QString path) : m_path(std::move(path)) {}
    void choosePrtFile(const QString &, std::function<void(velmora::FileChoice)> done) override
    {
        done({velmora::FileChoice::Chosen, m_path, {}});
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 5) {
        QTextStream(stderr)
            << "usage: velmora-screenshot OUTPUT.png ROLL.prt [SETTINGS-FOLDER SECONDS]\n";
        return 2;
    }
    const bool punch = args.size() == 5;
    const QString settingsDir = punch ? QDir(args.at(3)).absolutePath() + QLatin1Char('/')
                                      : QDir::tempPath() + QLatin1Char('/');

    velmora::SystemClock clock;
    velmora::QtSerialPortDevice port;
    FixedChooser chooser(QDir::current().absoluteFilePath(args.at(2)));
    const QString appDir = QApplication::applicationDirPath() + QLatin1Char('/');
    velmora::Application velmora(
        {clock, port, chooser, appDir, settingsDir, &velmora::presentSerialPorts});
    velmora.window.resize(1100, 700);
    velmora.window.show();
    velmora.window.mnuOpen()->trigger();
    velmora::JobControlsPanel *controls = velmora.window.controlsPanel();
    if (punch) {
        controls->cmdOpenport->click();
        controls->cmdStart->click();
        controls->cmdResume->click();
        // exit, not quit: quit asks the window to close, which it refuses during a job.
        QTimer::singleShot(int(args.at(4).toDouble() * 1000), &app, [] { QApplication::exit(0); });
        QApplication::exec();
    } else {
        // Some way into the roll, so punched, last and coming holes all show.
        velmora.core.nextNote.set(60);
        velmora.roll.drawRoll();
    }
    QApplication::processEvents();

    if (!velmora.window.grab().save(args.at(1))) {
        QTextStream(stderr) << "cannot write " << args.at(1) << "\n";
        return 1;
    }
    return 0;
}
