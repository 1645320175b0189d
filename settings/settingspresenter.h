#pragma once

#include "settings/calibrationentries.h"
#include "settings/statustext.h"

#include <QObject>

class QLineEdit;

namespace velmora {

class FormatTable;
class IntentGate;
class PortController;
class SettingsPanel;
class StatusPanel;

// The settings panel and the status display in the window: the panel shown
// and hidden as the window state says, the format choice, the calibration
// entries and lblStatus. The format choice and the entries act while the
// window allows them; a change it refuses goes back to what the program
// holds.
class SettingsPresenter : public QObject
{
    Q_OBJECT
public:
    SettingsPresenter(FormatTable &formats, CalibrationEntries &calibration, PortController &port,
                      SettingsPanel &panel, StatusPanel &status, const IntentGate &gate,
                      QObject *parent = nullptr);

    // The panel came (the port is closed by now) or went (the port has been
    // opened again): it shows or hides, and the status display is rebuilt.
    void setPanelShown(bool shown);

    // Rebuilds lblStatus from the values as they are now.
    void showStatus();
    StatusValues statusValues() const;

private:
    void showSelectedFormat();
    void showCurrentFormat(const QString &description);
    void enterCalibration(CalibrationEntries::Axis axis);
    void showCalibration(CalibrationEntries::Axis axis);
    QLineEdit *entryOf(CalibrationEntries::Axis axis) const;

    FormatTable &m_formats;
    CalibrationEntries &m_calibration;
    PortController &m_port;
    SettingsPanel &m_panel;
    StatusPanel &m_status;
    const IntentGate &m_gate;
};

} // namespace velmora
