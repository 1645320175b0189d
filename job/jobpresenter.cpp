#include "job/jobpresenter.h"

#include "job/jobcontrolspanel.h"
#include "job/punchjob.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

JobPresenter::JobPresenter(PunchJob &job, const JobProgress &progress, JobControlsPanel &panel,
                           const WindowMenus &menus, std::function<bool()> startAllowed,
                           QObject *parent)
    : QObject(parent), m_job(job), m_panel(panel), m_menus(menus),
      m_startAllowed(std::move(startAllowed))
{
    connect(panel.cmdStart, &QPushButton::clicked, &job, &PunchJob::start);
    connect(panel.cmdPause, &QPushButton::clicked, &job, &PunchJob::pause);
    connect(panel.cmdResume, &QPushButton::clicked, &job, &PunchJob::resume);
    connect(panel.cmd1Note, &QPushButton::clicked, &job, &PunchJob::punchOne);
    connect(panel.cmdStop, &QPushButton::clicked, &job, &PunchJob::requestStop);
    connect(panel.cmdStopYes, &QPushButton::clicked, &job, &PunchJob::confirmStop);
    connect(panel.cmdStopNo, &QPushButton::clicked, &job, &PunchJob::cancelStop);

    connect(&job, &PunchJob::controlsChanged, this, &JobPresenter::applyControls);
    connect(&job, &PunchJob::remainChanged, panel.lblRemain, &QLabel::setText);
    connect(&progress, &JobProgress::changed, this, &JobPresenter::showProgress);
    connect(&job, &PunchJob::halted, this, [this] { QApplication::alert(m_panel.window()); });
}

void JobPresenter::applyControls()
{
    const JobControls c = m_job.controls();
    m_panel.cmdStart->setEnabled(c.start && m_startAllowed());
    m_panel.cmdPause->setEnabled(c.pause);
    m_panel.cmdResume->setEnabled(c.resume);
    m_panel.cmd1Note->setEnabled(c.singlePunch);
    m_panel.cmdStop->setEnabled(c.stop);
    m_panel.cmdOpenport->setEnabled(c.openPort);
    const bool held = m_menusHeld && m_menusHeld();
    m_panel.cmdExit->setEnabled(c.exit && !held);
    m_menus.setEnabled(c.fileMenu && !held, c.settingsMenu && !held, c.testMenu && !held);
    m_panel.picStop->setVisible(c.stopQuestion);
}

void JobPresenter::showProgress(Progress progress)
{
    QProgressBar *bar = m_panel.prgPunched;
    bar->setRange(0, std::max(1, progress.toPunch));
    bar->setValue(progress.punched);
    bar->setTextVisible(progress.toPunch > 0);
}

} // namespace velmora
