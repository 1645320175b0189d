#include "job/jobpresenter.h"

#include "common/intent.h"
#include "job/jobcontrolspanel.h"
#include "job/punchjob.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

JobPresenter::JobPresenter(PunchJob &job, const JobProgress &progress, JobControlsPanel &panel,
                           const IntentGate &gate, QObject *parent)
    : QObject(parent), m_panel(panel)
{
    const std::tuple<QPushButton *, Intent, void (PunchJob::*)()> buttons[] = {
        {panel.cmdStart, Intent::Start, &PunchJob::start},
        {panel.cmdPause, Intent::Pause, &PunchJob::pause},
        {panel.cmdResume, Intent::Resume, &PunchJob::resume},
        {panel.cmd1Note, Intent::PunchOne, &PunchJob::punchOne},
        {panel.cmdStop, Intent::Stop, &PunchJob::requestStop},
        {panel.cmdStopYes, Intent::AnswerStop, &PunchJob::confirmStop},
        {panel.cmdStopNo, Intent::AnswerStop, &PunchJob::cancelStop},
    };
    for (const auto &[button, intent, press] : buttons) {
        connect(button, &QPushButton::clicked, &job, [&job, &gate, intent = intent, press = press] {
            if (gate.allows(intent))
                (job.*press)();
        });
    }

    connect(&job, &PunchJob::remainChanged, panel.lblRemain, &QLabel::setText);
    connect(&progress, &JobProgress::changed, this, &JobPresenter::showProgress);
    connect(&job, &PunchJob::halted, this, [this] { QApplication::alert(m_panel.window()); });
}

void JobPresenter::showProgress(Progress progress)
{
    QProgressBar *bar = m_panel.prgPunched;
    bar->setRange(0, std::max(1, progress.toPunch));
    bar->setValue(progress.punched);
    bar->setTextVisible(progress.toPunch > 0);
}

} // namespace velmora
