#pragma once

#include <QObject>

class MainWindow;

namespace velmora {

class AppCore;
class RollPresenter;

// The punch job in the window: the job buttons and the stop question forward
// their clicks to the job, and the job's control states, its lblRemain caption
// and its redraws of the roll are shown.
class JobPresenter : public QObject
{
    Q_OBJECT
public:
    JobPresenter(AppCore &core, MainWindow &window, RollPresenter &roll);

    // Enables the buttons and menus as the job says and shows or hides the
    // stop question. Start also needs the port open and a roll loaded.
    void applyControls();

private:
    AppCore &m_core;
    MainWindow &m_window;
};

} // namespace velmora
