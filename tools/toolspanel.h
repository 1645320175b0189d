#pragma once

#include "widgetkit/overlaypanel.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace velmora {

// The tools panel, picTools, which lies over the top-left corner of the window
// while it is shown: the arm and paper commands with their step entries, one
// punch, and the free command to the controller. Its border shape is Shape2.
// It only holds the controls; the tools code drives them.
class ToolsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    explicit ToolsPanel(QWidget *parent = nullptr);

    // Arm group, frmToolArm.
    QGroupBox *frmToolArm = nullptr;
    QPushButton *cmdArmForewards = nullptr;
    QLineEdit *txtArmForewards = nullptr;
    QPushButton *cmdArmBackwards = nullptr;
    QLineEdit *txtArmBackwards = nullptr;
    QPushButton *cmdArmtostart = nullptr;
    QPushButton *cmdArmCenter = nullptr;

    // Paper group, frmToolPaper.
    QGroupBox *frmToolPaper = nullptr;
    QPushButton *cmdpaperSteps = nullptr;
    QPushButton *cmdPapeprStepsBack = nullptr;
    QLineEdit *txtPaperSteps = nullptr;
    QPushButton *cmdActivatePunch = nullptr;

    // Command group, frmCommands.
    QGroupBox *frmCommands = nullptr;
    QLineEdit *txtVal1 = nullptr;
    QLineEdit *txtVal2 = nullptr;
    QPushButton *cmdSubmitmanual = nullptr;
    QPushButton *cmdShowSettings = nullptr;

    QPushButton *cmdToolsExit = nullptr;

private:
    QGroupBox *buildArmGroup();
    QGroupBox *buildPaperGroup();
    QGroupBox *buildCommandGroup();
};

} // namespace velmora
