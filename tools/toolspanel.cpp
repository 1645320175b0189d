#include "tools/toolspanel.h"

#include "widgetkit/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

constexpr int StepEntryWidth = 64;
constexpr int CommandEntryWidth = 56;

// The command entries start light grey, before their first check.
const QColor commandEntryStartColour(224, 224, 224);

QLineEdit *stepEntry(QWidget *parent, const QString &name, const QString &accessibleName)
{
    QLineEdit *entry = makeEntry(parent, name, accessibleName);
    entry->setFixedWidth(StepEntryWidth);
    return entry;
}

QLineEdit *commandEntry(QWidget *parent, const QString &name, const QString &accessibleName)
{
    QLineEdit *entry = makeEntry(parent, name, accessibleName);
    entry->setFixedWidth(CommandEntryWidth);
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base, commandEntryStartColour);
    entry->setPalette(palette);
    return entry;
}

} // namespace

ToolsPanel::ToolsPanel(QWidget *parent) : OverlayPanel(u"picTools"_s, u"Shape2"_s, parent)
{
    setAccessibleName(tr("Tools panel"));

    auto *lblZelvoor = makeLabel(this, u"lblZelvoor"_s, tr("Test tools for the Zelvoor interface"));
    QFont font = lblZelvoor->font();
    font.setBold(true);
    lblZelvoor->setFont(font);

    frmToolArm = buildArmGroup();
    frmToolPaper = buildPaperGroup();
    frmCommands = buildCommandGroup();
    cmdToolsExit = makeButton(this, u"cmdToolsExit"_s, tr("Exit"));

    // The buttons that need the port start disabled; the step buttons are
    // set by their entry checks.
    for (QPushButton *button :
         {cmdShowSettings, cmdArmtostart, cmdArmCenter, cmdActivatePunch, cmdSubmitmanual}) {
        button->setEnabled(false);
    }

    auto *exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    exitRow->addWidget(cmdToolsExit);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(lblZelvoor);
    layout->addWidget(frmToolArm);
    layout->addWidget(frmToolPaper);
    layout->addWidget(frmCommands);
    layout->addLayout(exitRow);
}

QGroupBox *ToolsPanel::buildArmGroup()
{
    QGroupBox *group = makeFrame(this, u"frmToolArm"_s, tr("Arm"));
    cmdArmForewards = makeButton(group, u"cmdArmForewards"_s, tr("Armforewards"));
    txtArmForewards = stepEntry(group, u"txtArmForewards"_s, tr("Arm forwards steps"));
    cmdArmBackwards = makeButton(group, u"cmdArmBackwards"_s, tr("Arm backwards"));
    txtArmBackwards = stepEntry(group, u"txtArmBackwards"_s, tr("Arm backwards steps"));
    cmdArmtostart = makeButton(group, u"cmdArmtostart"_s, tr("Arm to startpos"));
    cmdArmCenter = makeButton(group, u"cmdArmCenter"_s, tr("Arm to center"));
    auto *lblforestep = makeLabel(group, u"lblforestep"_s, tr("steps"));

    auto *layout = new QGridLayout(group);
    layout->addWidget(cmdArmForewards, 0, 0);
    layout->addWidget(txtArmForewards, 0, 1);
    layout->addWidget(lblforestep, 0, 2, 2, 1);
    layout->addWidget(cmdArmBackwards, 1, 0);
    layout->addWidget(txtArmBackwards, 1, 1);
    layout->addWidget(cmdArmtostart, 0, 3);
    layout->addWidget(cmdArmCenter, 1, 3);
    layout->setColumnMinimumWidth(2, 40);
    return group;
}

QGroupBox *ToolsPanel::buildPaperGroup()
{
    QGroupBox *group = makeFrame(this, u"frmToolPaper"_s, tr("Paper"));
    cmdpaperSteps = makeButton(group, u"cmdpaperSteps"_s, tr("Forward paper"));
    cmdPapeprStepsBack = makeButton(group, u"cmdPapeprStepsBack"_s, tr("Backward paper"));
    txtPaperSteps = stepEntry(group, u"txtPaperSteps"_s, tr("Paper steps"));
    auto *lblpapers = makeLabel(group, u"lblpapers"_s, tr("steps"));
    cmdActivatePunch = makeButton(group, u"cmdActivatePunch"_s, tr("Activate punch"));

    auto *layout = new QGridLayout(group);
    layout->addWidget(cmdpaperSteps, 0, 0);
    layout->addWidget(cmdPapeprStepsBack, 1, 0);
    layout->addWidget(txtPaperSteps, 0, 1, 2, 1);
    layout->addWidget(lblpapers, 0, 2, 2, 1);
    layout->addWidget(cmdActivatePunch, 0, 3);
    layout->setColumnMinimumWidth(2, 40);
    return group;
}

QGroupBox *ToolsPanel::buildCommandGroup()
{
    QGroupBox *group = makeFrame(this, u"frmCommands"_s, tr("Adjustcommand for the PIC"));
    txtVal1 = commandEntry(group, u"txtVal1"_s, tr("Command code"));
    txtVal2 = commandEntry(group, u"txtVal2"_s, tr("Command value"));
    cmdSubmitmanual = makeButton(group, u"cmdSubmitmanual"_s, tr("Send command"));
    cmdShowSettings = makeButton(group, u"cmdShowSettings"_s, tr("Show settings"));

    // The row reads like the line that is sent: "# ," code " , " value ",  0000 ",
    // with the heading over the two entries.
    auto *line = new QGridLayout(group);
    line->setHorizontalSpacing(2);
    line->addWidget(makeLabel(group, u"lblValue"_s, tr("command     value")), 0, 1, 1, 4);
    line->addWidget(makeLabel(group, u"lblNumteken"_s, u"# ,"_s), 1, 0);
    line->addWidget(txtVal1, 1, 1);
    line->addWidget(makeLabel(group, u"lblComma"_s, u" , "_s), 1, 2);
    line->addWidget(txtVal2, 1, 3);
    line->addWidget(makeLabel(group, u"lblNullen"_s, u",  0000 "_s), 1, 4);
    line->setColumnMinimumWidth(5, 12);
    line->addWidget(cmdSubmitmanual, 1, 6);
    line->addWidget(cmdShowSettings, 2, 6);
    line->setColumnStretch(7, 1);
    return group;
}

} // namespace velmora
