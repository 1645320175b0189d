#pragma once

#include "settings/statustext.h"
#include "widgetkit/windowmenus.h"

#include <QObject>

class QLineEdit;

namespace velmora {

class FormatTable;
class HoleCommandComposer;
class JobControlsPanel;
class PortController;
class SettingsPanel;
class StatusPanel;

// The settings panel and the status display in the window: showing and
// leaving the panel (the port is closed while it is shown and opened again
// on leaving), the format choice, the calibration entries and lblStatus.
class SettingsPresenter : public QObject
{
    Q_OBJECT
public:
    SettingsPresenter(FormatTable &formats, HoleCommandComposer &composer, PortController &port,
                      SettingsPanel &panel, StatusPanel &status, JobControlsPanel &controls,
                      const WindowMenus &menus, QObject *parent = nullptr);

    // Settings menu: shows the panel and closes the port.
    void showPanel();
    // The panel's Exit: hides it and opens the port with the choices as they
    // now stand.
    void leavePanel();

    // Puts a calibration value read from the settings into its entry, whose
    // check then runs. x: txtXcal, else txtYcal.
    void showCalibrationText(bool x, const QString &text);

    // Rebuilds lblStatus from the values as they are now.
    void showStatus();
    StatusValues statusValues() const;

private:
    void showCurrentFormat(const QString &description);
    void checkCalibration(QLineEdit *entry, bool x);
    void setPanelShown(bool shown);

    FormatTable &m_formats;
    HoleCommandComposer &m_composer;
    PortController &m_port;
    SettingsPanel &m_panel;
    StatusPanel &m_status;
    JobControlsPanel &m_controls;
    WindowMenus m_menus;
};

} // namespace velmora
