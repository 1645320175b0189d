#pragma once

#include "job/jobprogress.h"
#include "widgetkit/windowmenus.h"

#include <QObject>

#include <functional>

namespace velmora {

class JobControlsPanel;
class PunchJob;

// The punch job in the window: the job buttons and the stop question forward
// their clicks to the job, and the job's control states, its lblRemain caption
// and the holes punched are shown. When the job halts on its own (completed,
// stopped by the controller, paused by a lost port) the window asks for the
// operator's attention.
class JobPresenter : public QObject
{
    Q_OBJECT
public:
    // startAllowed: whether Start may be offered beyond the job's own say (the
    // port open and a roll loaded).
    JobPresenter(PunchJob &job, const JobProgress &progress, JobControlsPanel &panel,
                 const WindowMenus &menus, std::function<bool()> startAllowed,
                 QObject *parent = nullptr);

    // While held returns true, a panel lying over the window keeps Exit and
    // the File, Settings and Tools menus disabled, whatever the job says.
    void setMenusHeld(std::function<bool()> held) { m_menusHeld = std::move(held); }

    // Enables the buttons and menus as the job says and shows or hides the
    // stop question.
    void applyControls();
    void showProgress(velmora::Progress progress);

private:
    PunchJob &m_job;
    JobControlsPanel &m_panel;
    WindowMenus m_menus;
    std::function<bool()> m_startAllowed;
    std::function<bool()> m_menusHeld;
};

} // namespace velmora
