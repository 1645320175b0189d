#include "settings/settingspresenter.h"

#include "common/intent.h"
#include "format/formattable.h"
#include "link/portcontroller.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

namespace {

const QColor validBackground(255, 255, 255);
const QColor invalidBackground(0, 255, 255);

} // namespace

SettingsPresenter::SettingsPresenter(FormatTable &formats, CalibrationEntries &calibration,
                                     PortController &port, SettingsPanel &panel,
                                     StatusPanel &status, const IntentGate &gate, QObject *parent)
    : QObject(parent), m_formats(formats), m_calibration(calibration), m_port(port), m_panel(panel),
      m_status(status), m_gate(gate)
{
    connect(panel.cboFormats, &QComboBox::activated, this, [this](int position) {
        if (m_gate.allows(Intent::ChooseFormat))
            m_formats.selectFormat(position);
        else
            showSelectedFormat();
    });
    connect(&formats, &FormatTable::currentFormatShown, this,
            &SettingsPresenter::showCurrentFormat);
    // Every change of an entry's text is checked, typed or put there.
    using Axis = CalibrationEntries::Axis;
    connect(panel.txtXcal, &QLineEdit::textChanged, this, [this] { enterCalibration(Axis::X); });
    connect(panel.txtYcal, &QLineEdit::textChanged, this, [this] { enterCalibration(Axis::Y); });
    connect(&calibration, &CalibrationEntries::entered, this, &SettingsPresenter::showCalibration);
    // chkRechts and chkMirror belong to the roll display, which wires them.
}

void SettingsPresenter::setPanelShown(bool shown)
{
    m_panel.setVisible(shown);
    if (shown)
        m_panel.raise();
    showStatus();
}

void SettingsPresenter::showSelectedFormat()
{
    const QSignalBlocker blocker(m_panel.cboFormats);
    m_panel.cboFormats->setCurrentIndex(m_formats.selectedFormat());
}

void SettingsPresenter::showCurrentFormat(const QString &description)
{
    showSelectedFormat();
    m_panel.lblFormat->setText(description);
    showStatus();
}

QLineEdit *SettingsPresenter::entryOf(CalibrationEntries::Axis axis) const
{
    return axis == CalibrationEntries::Axis::X ? m_panel.txtXcal : m_panel.txtYcal;
}

void SettingsPresenter::enterCalibration(CalibrationEntries::Axis axis)
{
    if (m_gate.allows(Intent::ChangeSettings))
        m_calibration.enter(axis, entryOf(axis)->text());
    else
        showCalibration(axis);
}

// The check does not rebuild the status display: it shows the new value once
// the panel is left.
void SettingsPresenter::showCalibration(CalibrationEntries::Axis axis)
{
    QLineEdit *entry = entryOf(axis);
    if (entry->text() != m_calibration.text(axis)) {
        const QSignalBlocker blocker(entry);
        entry->setText(m_calibration.text(axis));
    }
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base,
                     m_calibration.valid(axis) ? validBackground : invalidBackground);
    entry->setPalette(palette);
}

StatusValues SettingsPresenter::statusValues() const
{
    const PortChoices &choices = m_port.choices();
    StatusValues values;
    values.formatName = m_panel.cboFormats->currentText();
    values.formatDescription = m_panel.lblFormat->text();
    values.xCalibration = m_calibration.factor(CalibrationEntries::Axis::X);
    values.yCalibration = m_calibration.factor(CalibrationEntries::Axis::Y);
    values.port = PortController::entry(PortController::portChoiceTexts(), choices.port);
    values.portOpen = m_port.portOpen();
    values.baud = PortController::entry(PortController::baudChoiceTexts(), choices.baud);
    values.parity = PortController::entry(PortController::parityChoiceCaptions(), choices.parity);
    values.stopBits = PortController::entry(PortController::stopBitChoiceTexts(), choices.stopBits);
    return values;
}

void SettingsPresenter::showStatus()
{
    m_status.lblStatus->setText(statusText(statusValues()));
}

} // namespace velmora
