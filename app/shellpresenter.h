#pragma once

#include "prt/rollsummary.h"

#include <QObject>

class MainWindow;

namespace velmora {

class AppCore;

// The application shell's behaviour in the window: File, Open with its label,
// the log view, Exit and the close box, and the help documents.
class ShellPresenter : public QObject
{
    Q_OBJECT
public:
    ShellPresenter(AppCore &core, MainWindow &window);

    // Exit, the button and the File menu entry, when the window allows it:
    // keeps the settings, then ends; the window stays open the first time the
    // settings cannot be kept.
    void exit();
    // A close request: refused while a job runs, otherwise the Exit command
    // (which a shown panel does not hold up).
    bool acceptClose();
    // Opens a help document with the desktop's viewer; a missing one is
    // passed over silently.
    static void runHelpProgram(const QString &path);

private:
    void showFileLabel(const QString &text, LabelTone tone);

    AppCore &m_core;
    MainWindow &m_window;
    bool m_exiting = false;
};

// The log's text as the view shows it: line ends as the view expects them.
QString logViewText(const QString &logText);

} // namespace velmora
