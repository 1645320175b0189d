#include "job/jobpresenter.h"

#include "app/appcore.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollpresenter.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace velmora {

JobPresenter::JobPresenter(AppCore &core, MainWindow &window, RollPresenter &roll)
    : QObject(&window), m_core(core), m_window(window)
{
    JobControlsPanel *controls = window.controlsPanel();
    PunchJob *job = &core.job;
    connect(controls->cmdStart, &QPushButton::clicked, job, &PunchJob::start);
    connect(controls->cmdPause, &QPushButton::clicked, job, &PunchJob::pause);
    connect(controls->cmdResume, &QPushButton::clicked, job, &PunchJob::resume);
    connect(controls->cmd1Note, &QPushButton::clicked, job, &PunchJob::punchOne);
    connect(controls->cmdStop, &QPushButton::clicked, job, &PunchJob::requestStop);
    connect(controls->cmdStopYes, &QPushButton::clicked, job, &PunchJob::confirmStop);
    connect(controls->cmdStopNo, &QPushButton::clicked, job, &PunchJob::cancelStop);

    connect(job, &PunchJob::controlsChanged, this, &JobPresenter::applyControls);
    connect(job, &PunchJob::remainChanged, controls->lblRemain, &QLabel::setText);
    connect(job, &PunchJob::drawRoll, &roll, &RollPresenter::drawRoll);
}

void JobPresenter::applyControls()
{
    const JobControls c = m_core.job.controls();
    JobControlsPanel *controls = m_window.controlsPanel();
    controls->cmdStart->setEnabled(c.start && m_core.startAllowed());
    controls->cmdPause->setEnabled(c.pause);
    controls->cmdResume->setEnabled(c.resume);
    controls->cmd1Note->setEnabled(c.singlePunch);
    controls->cmdStop->setEnabled(c.stop);
    controls->cmdExit->setEnabled(c.exit);
    controls->cmdOpenport->setEnabled(c.openPort);
    m_window.mnuFile()->menuAction()->setEnabled(c.fileMenu);
    m_window.mnuSet()->setEnabled(c.settingsMenu);
    m_window.mnuTest()->setEnabled(c.testMenu);
    controls->picStop->setVisible(c.stopQuestion);
}

} // namespace velmora
