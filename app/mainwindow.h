#pragma once

#include <QMainWindow>

#include <QMenu>

#include <functional>

class QMenu;
class QPushButton;

namespace velmora {
class ExtraSettingsDialog;
class HistoryWindow;
class JobControlsPanel;
class PreviewHost;
class RollView;
class SettingsPanel;
class StatusPanel;
class ToolsPanel;
} // namespace velmora

// The program's one window. It composes the panels and wires them together;
// the behaviour lives in the subsystems' own classes.
//
// Layout: the roll preview fills the window above the main controls
// (frmControls) and the status frame (frmStatus), which stand side by side at
// their own fixed sizes. The settings panel and the tools panel are not part of
// the layout: while shown they lie over the top-left corner of the window.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    static QString windowCaption();

    // The first size of the window: the two frames side by side plus 10
    // pixels wide (only the main controls on a screen at most 650 pixels
    // wide), the tools panel and the main controls plus 58 pixels high. The
    // result never exceeds the available part of the screen, less room for a
    // title bar; a screen at most 490 pixels high gets all of that height.
    static QSize initialWindowSize(const QSize &screen, const QSize &available,
                                   const QSize &controls, const QSize &status, const QSize &tools);

    velmora::JobControlsPanel *controlsPanel() const { return m_controls; }
    velmora::StatusPanel *statusPanel() const { return m_status; }
    velmora::SettingsPanel *settingsPanel() const { return m_settings; }
    velmora::ToolsPanel *toolsPanel() const { return m_tools; }
    velmora::RollView *rollView() const { return m_rollView; }
    // Windows of their own, hidden until their menu entries show them.
    velmora::HistoryWindow *historyWindow() const { return m_historyWindow; }
    velmora::ExtraSettingsDialog *extraSettingsDialog() const { return m_extraSettingsDialog; }
    // The off-screen button that takes the keyboard focus from a tool button.
    QPushButton *cmdDummy() const { return m_cmdDummy; }

    QMenu *mnuFile() const { return m_mnuFile; }
    QAction *mnuOpen() const { return m_mnuOpen; }
    QAction *mnuExit() const { return m_mnuExit; }
    QAction *mnuSet() const { return m_mnuSet; }
    QAction *mnuTest() const { return m_mnuTest; }
    // Extras: the job history and the extra settings, open also during a job.
    QMenu *mnuExtras() const { return m_mnuExtras; }
    QAction *mnuHistory() const { return m_mnuHistory; }
    QAction *mnuExtraSettings() const { return m_mnuExtraSettings; }
    QMenu *mnuHelp() const { return m_mnuHelp; }
    QAction *mnuHelpNL() const { return m_mnuHelpNL; }
    QAction *mnuHelpUK() const { return m_mnuHelpUK; }

    // Shows or hides the tools panel. While it is shown the preview's left
    // edge lies at half the panel's width, with the preview's size unchanged,
    // so the punch line stays in the middle of the part left uncovered.
    void setToolsPanelShown(bool shown);

    // Asked on every close request; returning false keeps the window open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void placeOverlayPanel(QWidget *panel);
    void applyInitialGeometry();

    velmora::JobControlsPanel *m_controls = nullptr;
    velmora::StatusPanel *m_status = nullptr;
    velmora::SettingsPanel *m_settings = nullptr;
    velmora::ToolsPanel *m_tools = nullptr;
    velmora::PreviewHost *m_previewHost = nullptr;
    velmora::RollView *m_rollView = nullptr;
    velmora::HistoryWindow *m_historyWindow = nullptr;
    velmora::ExtraSettingsDialog *m_extraSettingsDialog = nullptr;
    QPushButton *m_cmdDummy = nullptr;

    QMenu *m_mnuFile = nullptr;
    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuExit = nullptr;
    QAction *m_mnuSet = nullptr;
    QAction *m_mnuTest = nullptr;
    QMenu *m_mnuExtras = nullptr;
    QAction *m_mnuHistory = nullptr;
    QAction *m_mnuExtraSettings = nullptr;
    QMenu *m_mnuHelp = nullptr;
    QAction *m_mnuHelpNL = nullptr;
    QAction *m_mnuHelpUK = nullptr;

    std::function<bool()> m_closeGuard;
};
