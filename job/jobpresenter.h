#pragma once

#include "job/jobprogress.h"

#include <QObject>

namespace velmora {

class IntentGate;
class JobControlsPanel;
class PunchJob;

// The punch job in the window: the job buttons and the stop question forward
// their clicks to the job when the window allows them, and the job's
// lblRemain caption and the holes punched are shown. When the job halts on
// its own (completed, stopped by the controller, paused by a lost port) the
// window asks for the operator's attention. Which buttons are enabled is the
// window's one decision (WindowState), shown by the window's presenter.
class JobPresenter : public QObject
{
    Q_OBJECT
public:
    JobPresenter(PunchJob &job, const JobProgress &progress, JobControlsPanel &panel,
                 const IntentGate &gate, QObject *parent = nullptr);

    void showProgress(velmora::Progress progress);

private:
    JobControlsPanel &m_panel;
};

} // namespace velmora
