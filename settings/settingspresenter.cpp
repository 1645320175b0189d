#include "settings/settingspresenter.h"

#include "app/appcore.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "settings/calibration.h"
#include "settings/settingspanel.h"
#include "settings/statuspanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

SettingsPresenter::SettingsPresenter(AppCore &core, MainWindow &window)
    : QObject(&window), m_core(core), m_window(window)
{
    SettingsPanel *settings = window.settingsPanel();
    connect(window.mnuSet(), &QAction::triggered, this, &SettingsPresenter::mnuSet_Click);
    connect(settings->cmdSettingsExit, &QPushButton::clicked, this,
            &SettingsPresenter::cmdSettingsExit_Click);
    connect(settings->cboFormats, &QComboBox::activated, this,
            &SettingsPresenter::cboFormats_Click);
    connect(&core.formats, &FormatTable::currentFormatShown, this,
            &SettingsPresenter::showCurrentFormat);
    connect(settings->txtXcal, &QLineEdit::textChanged, this, &SettingsPresenter::txtXcal_Change);
    connect(settings->txtYcal, &QLineEdit::textChanged, this, &SettingsPresenter::txtYcal_Change);
    // chkRechts redraws the roll (the roll display wires it); chkMirror is
    // read at the next drawing.
}

void SettingsPresenter::mnuSet_Click()
{
    m_window.setSettingsPanelShown(true);
    m_window.controlsPanel()->setEnabled(false);
    m_window.mnuFile()->menuAction()->setEnabled(false);
    m_window.mnuSet()->setEnabled(false);
    m_window.mnuTest()->setEnabled(false);
    m_window.settingsPanel()->cmdFormat->setEnabled(true);
    m_window.controlsPanel()->cmdExit->setEnabled(false);
    m_core.portController.closePort();
    showStatus();
}

void SettingsPresenter::cmdSettingsExit_Click()
{
    m_window.setSettingsPanelShown(false);
    m_window.controlsPanel()->setEnabled(true);
    m_window.mnuFile()->menuAction()->setEnabled(true);
    m_window.mnuSet()->setEnabled(true);
    m_window.mnuTest()->setEnabled(true);
    m_window.controlsPanel()->cmdExit->setEnabled(true);
    m_core.portController.openPort();
    showStatus();
    // toolsPanelShown needs no clearing: the Settings menu is disabled while
    // the tools panel is shown, so it is clear here already.
}

void SettingsPresenter::cboFormats_Click(int position)
{
    m_core.formats.selectFormat(position);
}

void SettingsPresenter::showCurrentFormat(const QString &description)
{
    SettingsPanel *settings = m_window.settingsPanel();
    {
        const QSignalBlocker blocker(settings->cboFormats);
        settings->cboFormats->setCurrentIndex(m_core.formats.selectedFormat());
    }
    settings->lblFormat->setText(description);
    showStatus();
}

void SettingsPresenter::txtXcal_Change()
{
    checkCalibration(m_window.settingsPanel()->txtXcal, true);
}

void SettingsPresenter::txtYcal_Change()
{
    checkCalibration(m_window.settingsPanel()->txtYcal, false);
}

void SettingsPresenter::checkCalibration(QLineEdit *entry, bool x)
{
    const std::optional<float> value = CalibrationValue(entry->text());
    if (!value) {
        setBackground(entry, invalidBackground);
        return;
    }
    setBackground(entry, validBackground);
    if (x)
        m_core.composer.setXCalibration(*value);
    else
        m_core.composer.setYCalibration(*value);
}

StatusValues SettingsPresenter::statusValues() const
{
    const SettingsPanel *settings = m_window.settingsPanel();
    const PortChoices &choices = m_core.portController.choices();
    StatusValues values;
    values.formatName = settings->cboFormats->currentText();
    values.formatDescription = settings->lblFormat->text();
    values.xCalibration = m_core.composer.XCalibration();
    values.yCalibration = m_core.composer.YCalibration();
    values.port = PortController::entry(PortController::portChoiceTexts(), choices.port);
    values.portOpen = m_core.portOpen();
    values.baud = PortController::entry(PortController::baudChoiceTexts(), choices.baud);
    values.parity = PortController::entry(PortController::parityChoiceTexts(), choices.parity);
    values.stopBits = PortController::entry(PortController::stopBitChoiceTexts(), choices.stopBits);
    return values;
}

void SettingsPresenter::showStatus()
{
    m_window.statusPanel()->lblStatus->setText(statusText(statusValues()));
}

} // namespace velmora
