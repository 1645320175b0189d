#include "app/shellpresenter.h"

#include "app/appcore.h"
#include "app/folders.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

namespace velmora {

QString logViewText(const QString &logText)
{
    QString text = logText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

ShellPresenter::ShellPresenter(AppCore &core, MainWindow &window)
    : QObject(&window), m_core(core), m_window(window)
{
    JobControlsPanel *controls = window.controlsPanel();

    connect(window.mnuOpen(), &QAction::triggered, this, [this] {
        if (m_core.windowState.allows(Intent::OpenRoll))
            m_core.opener.openPrtFile();
    });
    connect(&core.opener, &PrtOpener::labelChanged, this, &ShellPresenter::showFileLabel);

    connect(window.mnuExit(), &QAction::triggered, this, &ShellPresenter::exit);
    connect(controls->cmdExit, &QPushButton::clicked, this, &ShellPresenter::exit);
    window.setCloseGuard([this] { return acceptClose(); });

    const QString appDir = core.services.appDir;
    connect(window.mnuHelpNL(), &QAction::triggered, this,
            [appDir] { runHelpProgram(helpFile(appDir, QStringLiteral("velmorahelpNL.html"))); });
    connect(window.mnuHelpUK(), &QAction::triggered, this,
            [appDir] { runHelpProgram(helpFile(appDir, QStringLiteral("velmorahelpUK.html"))); });

    // The log view follows the log and keeps its newest line in view.
    QPlainTextEdit *view = controls->txtLog;
    connect(&core.log, &Logbook::shortened, view,
            [view](const QString &text) { view->setPlainText(logViewText(text)); });
    connect(&core.log, &Logbook::appended, view, [view](const QString &entry) {
        view->moveCursor(QTextCursor::End);
        view->insertPlainText(logViewText(entry));
        view->moveCursor(QTextCursor::End);
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    });
}

void ShellPresenter::exit()
{
    if (!m_core.windowState.allows(Intent::Exit) || !m_core.shutDown())
        return;
    m_exiting = true;
    m_window.close();
}

bool ShellPresenter::acceptClose()
{
    if (m_core.jobRunning())
        return false;
    if (m_exiting)
        return true;
    if (!m_core.shutDown())
        return false;
    m_exiting = true;
    return true;
}

void ShellPresenter::runHelpProgram(const QString &path)
{
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ShellPresenter::showFileLabel(const QString &text, LabelTone tone)
{
    QLabel *label = m_window.controlsPanel()->lblOpened;
    label->setText(logViewText(text));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window,
                     tone == LabelTone::Summary ? QColor(200, 200, 200) : QColor(0, 255, 255));
    label->setPalette(palette);
}

} // namespace velmora
