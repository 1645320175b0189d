#pragma once

#include "app/application.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "tests/support/fakeserialport.h"
#include "tests/support/testhelpers.h"

#include <QAction>
#include <QTemporaryDir>

namespace velmora {

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

    QTemporaryDir dir;
    VirtualClock clock{1000000};
    FakeSerialPort port;
    ScriptedChooser chooser;
    NoteTaker notifier;
    Application app;
};

} // namespace velmora
