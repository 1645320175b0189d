#include "app/mainwindow.h"

#include "app/previewhost.h"
#include "extras/extrasettingsdialog.h"
#include "history/historywindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"
#include "tools/toolspanel.h"
#include "widgetkit/controls.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using velmora::nameControl;

namespace {

// Margins around the window's contents and the gap between the two frames;
// together they make the 10 pixels the first window width allows beside them.
constexpr int OuterMargin = 3;
constexpr int FrameGap = 4;
// Where the settings and tools panels lie over the preview.
constexpr int OverlayOffset = 2;
// The first window width and height beyond the frames they are made of.
constexpr int ExtraWidth = 10;
constexpr int ExtraHeight = 58;
constexpr int NarrowScreenWidth = 650;
constexpr int LowScreenHeight = 490;
// Room kept for the title bar when the first height is fitted to the screen.
constexpr int TitleBarAllowance = 32;

velmora::RollView *createRollView(QWidget *parent)
{
    auto *view = new velmora::RollView(parent);
    nameControl(view, u"picRol"_s);
    view->setAccessibleName(MainWindow::tr("Roll preview"));
    return view;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(windowCaption());
    buildMenus();

    auto *central = new QWidget(this);
    central->setObjectName(u"centralWidget"_s);
    setCentralWidget(central);

    m_rollView = createRollView(central);
    m_previewHost = new velmora::PreviewHost(m_rollView, central);

    m_controls = new velmora::JobControlsPanel(central);
    m_status = new velmora::StatusPanel(central);

    // Parked out of sight: tool buttons hand it the keyboard focus.
    m_cmdDummy = velmora::makeButton(central, u"cmdDummy"_s, u"Dummy"_s);
    m_cmdDummy->setFocusPolicy(Qt::ClickFocus);
    m_cmdDummy->move(-1000, -1000);

    m_settings = new velmora::SettingsPanel(central);
    m_tools = new velmora::ToolsPanel(central);
    placeOverlayPanel(m_settings);
    placeOverlayPanel(m_tools);

    m_historyWindow = new velmora::HistoryWindow(this);
    m_extraSettingsDialog = new velmora::ExtraSettingsDialog(this);

    // The status frame takes the height of the main controls beside it.
    auto *frames = new QHBoxLayout;
    frames->setSpacing(FrameGap);
    frames->addWidget(m_controls);
    frames->addWidget(m_status);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(OuterMargin, OuterMargin, OuterMargin, OuterMargin);
    layout->setSpacing(FrameGap);
    layout->addWidget(m_previewHost, 1);
    layout->addLayout(frames);
    layout->setAlignment(frames, Qt::AlignLeft);

    applyInitialGeometry();
}

QString MainWindow::windowCaption()
{
    return tr("Velmora - Punch control program for serial port      version 3.5");
}

QSize MainWindow::initialWindowSize(const QSize &screen, const QSize &available,
                                    const QSize &controls, const QSize &status, const QSize &tools)
{
    int width = controls.width() + ExtraWidth;
    if (screen.width() > NarrowScreenWidth) {
        width += status.width();
    }
    const int roomHeight = available.height() - TitleBarAllowance;
    int height = roomHeight;
    if (screen.height() > LowScreenHeight) {
        height = qMin(tools.height() + controls.height() + ExtraHeight, roomHeight);
    }
    return {qMin(width, available.width()), height};
}

void MainWindow::setToolsPanelShown(bool shown)
{
    m_tools->setVisible(shown);
    if (shown) {
        m_tools->raise();
    }
    m_previewHost->setOffset(shown ? m_tools->width() / 2 : 0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    m_mnuFile = nameControl(bar->addMenu(tr("    File    ")), u"mnuFile"_s);
    m_mnuOpen = m_mnuFile->addAction(tr("Open"));
    m_mnuOpen->setObjectName(u"mnuOpen"_s);
    m_mnuExit = m_mnuFile->addAction(tr("Exit"));
    m_mnuExit->setObjectName(u"mnuExit"_s);

    // Settings and Tools act at once: menu-bar entries without a menu.
    m_mnuSet = bar->addAction(tr("Settings      "));
    m_mnuSet->setObjectName(u"mnuSet"_s);
    m_mnuTest = bar->addAction(tr("Tools    "));
    m_mnuTest->setObjectName(u"mnuTest"_s);

    // Beside Help: what serves an operator who leaves a roll running.
    m_mnuExtras = nameControl(bar->addMenu(tr("Extras    ")), u"mnuExtras"_s);
    m_mnuHistory = m_mnuExtras->addAction(tr("Job history"));
    m_mnuHistory->setObjectName(u"mnuHistory"_s);
    m_mnuExtraSettings = m_mnuExtras->addAction(tr("Extra settings"));
    m_mnuExtraSettings->setObjectName(u"mnuExtraSettings"_s);

    m_mnuHelp = nameControl(bar->addMenu(tr("  Help")), u"mnuHelp"_s);
    m_mnuHelpNL = m_mnuHelp->addAction(u"Nederlands"_s);
    m_mnuHelpNL->setObjectName(u"mnuHelpNL"_s);
    m_mnuHelpUK = m_mnuHelp->addAction(u"English"_s);
    m_mnuHelpUK->setObjectName(u"mnuHelpUK"_s);
}

void MainWindow::placeOverlayPanel(QWidget *panel)
{
    panel->move(OverlayOffset, OverlayOffset);
    panel->raise();
}

void MainWindow::applyInitialGeometry()
{
    ensurePolished();
    const QScreen *screen = this->screen();
    const QRect available = screen->availableGeometry();
    resize(initialWindowSize(screen->size(), available.size(), m_controls->sizeHint(),
                             m_status->sizeHint(), m_tools->sizeHint()));
    move(available.topLeft());
}
