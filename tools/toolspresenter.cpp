#include "tools/toolspresenter.h"

#include "common/intent.h"
#include "link/linksender.h"
#include "link/portcontroller.h"
#include "tools/toolinputcheck.h"
#include "tools/toolspanel.h"

#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

const QColor validBackground(210, 210, 210);
const QColor invalidBackground(0, 255, 255);

void showValidity(QLineEdit *entry, bool valid)
{
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base, valid ? validBackground : invalidBackground);
    entry->setPalette(palette);
}

} // namespace

ToolsPresenter::ToolsPresenter(PortController &port, LinkSender &sender, ToolsPanel &panel,
                               QWidget &focusTaker, const IntentGate &gate,
                               std::function<void(bool)> showPanel, QObject *parent)
    : QObject(parent), m_port(port), m_sender(sender), m_panel(panel), m_focusTaker(focusTaker),
      m_gate(gate), m_showPanel(std::move(showPanel))
{
    connect(&port, &PortController::portOpened, this, &ToolsPresenter::enableToolButtons);
    connect(&port, &PortController::portStateChanged, this, [this](bool open) {
        if (!open)
            disableToolButtons();
    });

    const std::pair<QPushButton *, ToolButton> buttons[] = {
        {panel.cmdArmForewards, ToolButton::ArmForwards},
        {panel.cmdArmBackwards, ToolButton::ArmBackwards},
        {panel.cmdpaperSteps, ToolButton::PaperForwards},
        {panel.cmdArmtostart, ToolButton::ArmToStart},
        {panel.cmdArmCenter, ToolButton::ArmToCenter},
        {panel.cmdActivatePunch, ToolButton::ActivatePunch},
        {panel.cmdPapeprStepsBack, ToolButton::PaperBackwards},
        {panel.cmdShowSettings, ToolButton::ShowSettings},
        {panel.cmdSubmitmanual, ToolButton::SendCommand},
    };
    for (const auto &[button, command] : buttons) {
        connect(button, &QPushButton::clicked, this,
                [this, command = command] { sendCommand(command); });
    }

    // The checks run on every change of the text, typed or set by the program.
    connect(panel.txtArmForewards, &QLineEdit::textChanged, this,
            [this] { checkStepEntry(m_panel.txtArmForewards, {m_panel.cmdArmForewards}); });
    connect(panel.txtArmBackwards, &QLineEdit::textChanged, this,
            [this] { checkStepEntry(m_panel.txtArmBackwards, {m_panel.cmdArmBackwards}); });
    connect(panel.txtPaperSteps, &QLineEdit::textChanged, this, [this] {
        checkStepEntry(m_panel.txtPaperSteps, {m_panel.cmdpaperSteps, m_panel.cmdPapeprStepsBack});
    });
    connect(panel.txtVal1, &QLineEdit::textChanged, this,
            [this] { checkCommandEntry(m_panel.txtVal1, m_panel.txtVal2); });
    connect(panel.txtVal2, &QLineEdit::textChanged, this,
            [this] { checkCommandEntry(m_panel.txtVal2, m_panel.txtVal1); });
}

void ToolsPresenter::setPanelShown(bool shown)
{
    m_showPanel(shown);
    if (!shown)
        return;
    for (QLineEdit *entry :
         {m_panel.txtArmForewards, m_panel.txtArmBackwards, m_panel.txtPaperSteps}) {
        if (entry->text().trimmed().isEmpty())
            entry->setText(u"50"_s);
    }
}

ToolEntries ToolsPresenter::entries() const
{
    return {m_panel.txtArmForewards->text(), m_panel.txtArmBackwards->text(),
            m_panel.txtPaperSteps->text(), m_panel.txtVal1->text(), m_panel.txtVal2->text()};
}

QList<QPushButton *> ToolsPresenter::commandButtons() const
{
    return {m_panel.cmdArmForewards,    m_panel.cmdArmBackwards, m_panel.cmdpaperSteps,
            m_panel.cmdArmtostart,      m_panel.cmdArmCenter,    m_panel.cmdActivatePunch,
            m_panel.cmdPapeprStepsBack, m_panel.cmdShowSettings, m_panel.cmdSubmitmanual};
}

void ToolsPresenter::enableToolButtons()
{
    const ToolButtonsEnabled on = velmora::enableToolButtons(entries());
    const std::pair<bool, QList<QPushButton *>> groups[] = {
        {on.armForwards, {m_panel.cmdArmForewards}},
        {on.armBackwards, {m_panel.cmdArmBackwards}},
        {on.paperSteps, {m_panel.cmdpaperSteps, m_panel.cmdPapeprStepsBack}},
        {on.fixedCommands,
         {m_panel.cmdArmCenter, m_panel.cmdArmtostart, m_panel.cmdShowSettings,
          m_panel.cmdActivatePunch}},
        {on.sendCommand, {m_panel.cmdSubmitmanual}},
    };
    for (const auto &[enable, buttons] : groups) {
        if (enable) {
            for (QPushButton *button : buttons)
                button->setEnabled(true);
        }
    }
}

void ToolsPresenter::disableToolButtons()
{
    for (QPushButton *button : commandButtons())
        button->setEnabled(false);
}

void ToolsPresenter::sendCommand(ToolButton button)
{
    if (!m_gate.allows(Intent::ToolCommands))
        return;
    m_focusTaker.setFocus(Qt::OtherFocusReason);
    if (!m_port.portOpen()) {
        disableToolButtons();
        return;
    }
    if (const std::optional<QString> line = toolCommandLine(button, entries()))
        m_sender.sendToolCommand(*line);
}

void ToolsPresenter::checkStepEntry(QLineEdit *entry, std::initializer_list<QPushButton *> buttons)
{
    const ToolEntryCheck check = velmora::checkStepEntry(entry->text(), m_port.portOpen());
    showValidity(entry, check.valid);
    for (QPushButton *button : buttons)
        button->setEnabled(check.buttonsEnabled.value_or(false));
}

void ToolsPresenter::checkCommandEntry(QLineEdit *entry, QLineEdit *other)
{
    const ToolEntryCheck check =
        velmora::checkCommandEntry(entry->text(), other->text(), m_port.portOpen());
    showValidity(entry, check.valid);
    if (check.buttonsEnabled)
        m_panel.cmdSubmitmanual->setEnabled(*check.buttonsEnabled);
}

} // namespace velmora
