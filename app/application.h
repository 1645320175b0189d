#pragma once

#include "app/appcore.h"
#include "app/mainwindow.h"
#include "app/shellpresenter.h"
#include "app/windowpresenter.h"
#include "extras/extrasettingspresenter.h"
#include "format/formateditorpresenter.h"
#include "history/historypresenter.h"
#include "job/jobpresenter.h"
#include "link/linkpresenter.h"
#include "roll/rollpresenter.h"
#include "settings/settingspresenter.h"
#include "tools/toolspresenter.h"

namespace velmora {

// The whole program: its state and logic, the window, and the presenters that
// wire the window's panels to the logic. The program makes one with the real
// clock, port and file dialog; widget tests make one with fakes.
class Application
{
public:
    explicit Application(const AppServices &services);

    AppCore core;
    MainWindow window;
    ShellPresenter shell;
    RollPresenter roll;
    LinkPresenter link;
    SettingsPresenter settings;
    FormatEditorPresenter formatEditor;
    JobPresenter job;
    ToolsPresenter tools;
    HistoryPresenter history;
    ExtraSettingsPresenter extraSettings;
    WindowPresenter windowPresenter;
};

} // namespace velmora
