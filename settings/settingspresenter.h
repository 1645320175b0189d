#pragma once

#include "settings/statustext.h"

#include <QObject>

class MainWindow;
class QLineEdit;

namespace velmora {

class AppCore;

// The settings panel and the status display in the window: showing and
// leaving the panel (the port is closed while it is shown and opened again
// on leaving), the format choice, the calibration entries and lblStatus.
class SettingsPresenter : public QObject
{
    Q_OBJECT
public:
    SettingsPresenter(AppCore &core, MainWindow &window);

    // Settings menu: shows the panel and closes the port.
    void mnuSet_Click();
    // The panel's Exit: hides it and opens the port with the choices as they
    // now stand.
    void cmdSettingsExit_Click();
    // Makes the chosen format current.
    void cboFormats_Click(int position);
    // The calibration checks, on every change of an entry's text.
    void txtXcal_Change();
    void txtYcal_Change();

    // Rebuilds lblStatus from the values as they are now.
    void showStatus();
    StatusValues statusValues() const;

private:
    void showCurrentFormat(const QString &description);
    void checkCalibration(QLineEdit *entry, bool x);

    AppCore &m_core;
    MainWindow &m_window;
};

} // namespace velmora
