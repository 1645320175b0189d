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
    setAccessibleName(u"Tools panel"_s);

    auto *lblZelvoor = makeLabel(this, u"lblZelvoor"_s, u"Test tools for the Zelvoor interface"_s);
    QFont font = lblZelvoor->font();
    font.setBold(true);
    lblZelvoor->setFont(font);

    frmToolArm = buildArmGroup();
    frmToolPaper = buildPaperGroup();
    frmCommands = buildCommandGroup();
    cmdToolsExit = makeButton(this, u"cmdToolsExit"_s, u"Exit"_s);

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
    QGroupBox *group = makeFrame(this, u"frmToolArm"_s, u"Arm"_s);
    cmdArmForewards = makeButton(group, u"cmdArmForewards"_s, u"Armforewards"_s);
    txtArmForewards = stepEntry(group, u"txtArmForewards"_s, u"Arm forwards steps"_s);
    cmdArmBackwards = makeButton(group, u"cmdArmBackwards"_s, u"Arm backwards"_s);
    txtArmBackwards = stepEntry(group, u"txtArmBackwards"_s, u"Arm backwards steps"_s);
    cmdArmtostart = makeButton(group, u"cmdArmtostart"_s, u"Arm to startpos"_s);
    cmdArmCenter = makeButton(group, u"cmdArmCenter"_s, u"Arm to center"_s);
    auto *lblforestep = makeLabel(group, u"lblforestep"_s, u"steps"_s);

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
    QGroupBox *group = makeFrame(this, u"frmToolPaper"_s, u"Paper"_s);
    cmdpaperSteps = makeButton(group, u"cmdpaperSteps"_s, u"Forward paper"_s);
    cmdPapeprStepsBack = makeButton(group, u"cmdPapeprStepsBack"_s, u"Backward paper"_s);
    txtPaperSteps = stepEntry(group, u"txtPaperSteps"_s, u"Paper steps"_s);
    auto *lblpapers = makeLabel(group, u"lblpapers"_s, u"steps"_s);
    cmdActivatePunch = makeButton(group, u"cmdActivatePunch"_s, u"Activate punch"_s);

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
    QGroupBox *group = makeFrame(this, u"frmCommands"_s, u"Adjustcommand for the PIC"_s);
    txtVal1 = commandEntry(group, u"txtVal1"_s, u"Command code"_s);
    txtVal2 = commandEntry(group, u"txtVal2"_s, u"Command value"_s);
    cmdSubmitmanual = makeButton(group, u"cmdSubmitmanual"_s, u"Send command"_s);
    cmdShowSettings = makeButton(group, u"cmdShowSettings"_s, u"Show settings"_s);

    // The row reads like the line that is sent: "# ," code " , " value ",  0000 ",
    // with the heading over the two entries.
    auto *line = new QGridLayout(group);
    line->setHorizontalSpacing(2);
    line->addWidget(makeLabel(group, u"lblValue"_s, u"command     value"_s), 0, 1, 1, 4);
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
