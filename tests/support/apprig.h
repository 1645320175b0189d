#pragma once

#include "app/application.h"
#include "job/jobcontrolspanel.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "tests/support/fakeserialport.h"
#include "tests/support/testhelpers.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>

namespace velmora {

// One USB adapter present, taken for COM1.
inline const QList<PresentPort> Adapter{{QStringLiteral("/dev/ttyUSB0"), true}};

// Keeps the desktop notes the program gives, as "title: text".
struct NoteTaker final : Notifier
{
    void notify(const QString &title, const QString &text) override
    {
        notes << title + QStringLiteral(": ") + text;
    }
    QStringList notes;
};

// The whole program on a fake port, a virtual clock, a scripted file dialog
// and a note taker for the desktop, with its settings in a fresh folder
// unless settingsDir (ending in "/") names one.
struct AppRig
{
    explicit AppRig(const QList<PresentPort> &present = {}, const QString &settingsDir = {})
        : app(AppServices{clock, port, chooser, QStringLiteral(VELMORA_SOURCE_DIR "/help/"),
                          settingsDir.isEmpty() ? dir.path() + QLatin1Char('/') : settingsDir,
                          [present] { return present; }, &notifier})
    {}
    void open(const QString &path)
    {
        chooser.answer.path = path;
        app.window.mnuOpen()->trigger();
    }
    // Runs the clock until nextNote reaches until, or to the end of the job.
    void run(int until = 0)
    {
        const AppCore &core = app.core;
        while ((until ? core.nextNote.value() < until : core.jobRunning()) && clock.runNext()) {
        }
    }
    // Opens the port to a ready controller, clicks Start and Resume, and runs.
    void punch(int until = 0)
    {
        JobControlsPanel *c = app.window.controlsPanel();
        port.setCts(true);
        for (QPushButton *button : {c->cmdOpenport, c->cmdStart, c->cmdResume})
            button->click();
        run(until);
    }

    QTemporaryDir dir;
    VirtualClock clock{1000000};
    FakeSerialPort port;
    ScriptedChooser chooser;
    NoteTaker notifier;
    Application app;
};

} // namespace velmora
