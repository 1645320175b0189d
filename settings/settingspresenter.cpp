#include "settings/settingspresenter.h"

#include "format/formattable.h"
#include "format/holecommandcomposer.h"
#include "job/jobcontrolspanel.h"
#include "link/portcontroller.h"
#include "settings/calibration.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

namespace {

const QColor validBackground(255, 255, 255);
const QColor invalidBackground(0, 255, 255);

void setBackground(QLineEdit *entry, const QColor &color)
{
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base, color);
    entry->setPalette(palette);
}

} // namespace

SettingsPresenter::SettingsPresenter(FormatTable &formats, HoleCommandComposer &composer,
                                     PortController &port, SettingsPanel &panel,
                                     StatusPanel &status, JobControlsPanel &controls,
                                     const WindowMenus &menus, QObject *parent)
    : QObject(parent), m_formats(formats), m_composer(composer), m_port(port), m_panel(panel),
      m_status(status), m_controls(controls), m_menus(menus)
{
    connect(menus.settings, &QAction::triggered, this, &SettingsPresenter::showPanel);
    connect(panel.cmdSettingsExit, &QPushButton::clicked, this, &SettingsPresenter::leavePanel);
    connect(panel.cboFormats, &QComboBox::activated, &formats, &FormatTable::selectFormat);
    connect(&formats, &FormatTable::currentFormatShown, this,
            &SettingsPresenter::showCurrentFormat);
    connect(panel.txtXcal, &QLineEdit::textChanged, this,
            [this] { checkCalibration(m_panel.txtXcal, true); });
    connect(panel.txtYcal, &QLineEdit::textChanged, this,
            [this] { checkCalibration(m_panel.txtYcal, false); });
    // chkRechts redraws the roll (the roll display wires it); chkMirror is
    // read at the next drawing.
}

void SettingsPresenter::setPanelShown(bool shown)
{
    m_panel.setVisible(shown);
    if (shown)
        m_panel.raise();
    m_controls.setEnabled(!shown);
    m_menus.setEnabled(!shown, !shown, !shown);
    m_controls.cmdExit->setEnabled(!shown);
}

void SettingsPresenter::showPanel()
{
    setPanelShown(true);
    m_panel.cmdFormat->setEnabled(true);
    m_port.closePort();
    showStatus();
}

void SettingsPresenter::leavePanel()
{
    setPanelShown(false);
    m_port.openPort();
    showStatus();
    // toolsPanelShown needs no clearing: the Settings menu is disabled while
    // the tools panel is shown, so it is clear here already.
}

void SettingsPresenter::showCurrentFormat(const QString &description)
{
    {
        const QSignalBlocker blocker(m_panel.cboFormats);
        m_panel.cboFormats->setCurrentIndex(m_formats.selectedFormat());
    }
    m_panel.lblFormat->setText(description);
    showStatus();
}

void SettingsPresenter::checkCalibration(QLineEdit *entry, bool x)
{
    const std::optional<float> value = calibrationValue(entry->text());
    if (!value) {
        setBackground(entry, invalidBackground);
        return;
    }
    setBackground(entry, validBackground);
    if (x)
        m_composer.setXCalibration(*value);
    else
        m_composer.setYCalibration(*value);
}

void SettingsPresenter::showCalibrationText(bool x, const QString &text)
{
    (x ? m_panel.txtXcal : m_panel.txtYcal)->setText(text);
}

StatusValues SettingsPresenter::statusValues() const
{
    const PortChoices &choices = m_port.choices();
    StatusValues values;
    values.formatName = m_panel.cboFormats->currentText();
    values.formatDescription = m_panel.lblFormat->text();
    values.xCalibration = m_composer.XCalibration();
    values.yCalibration = m_composer.YCalibration();
    values.port = PortController::entry(PortController::portChoiceTexts(), choices.port);
    values.portOpen = m_port.portOpen();
    values.baud = PortController::entry(PortController::baudChoiceTexts(), choices.baud);
    values.parity = PortController::entry(PortController::parityChoiceTexts(), choices.parity);
    values.stopBits = PortController::entry(PortController::stopBitChoiceTexts(), choices.stopBits);
    return values;
}

void SettingsPresenter::showStatus()
{
    m_status.lblStatus->setText(statusText(statusValues()));
}

} // namespace velmora
