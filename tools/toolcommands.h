#pragma once

#include <QString>

#include <optional>

namespace velmora {

// The nine command buttons of the tools panel.
enum class ToolButton
{
    ArmForwards,    // cmdArmForewards, code 1, steps of txtArmForewards
    ArmBackwards,   // cmdArmBackwards, code 2, steps of txtArmBackwards
    PaperForwards,  // cmdpaperSteps, code 3, steps of txtPaperSteps
    ArmToStart,     // cmdArmtostart, code 4
    ArmToCenter,    // cmdArmCenter, code 5
    ActivatePunch,  // cmdActivatePunch, code 6
    PaperBackwards, // cmdPapeprStepsBack, code 7, steps of txtPaperSteps
    ShowSettings,   // cmdShowSettings, the fixed line "#,0020,0000,0000"
    SendCommand,    // cmdSubmitmanual, code of txtVal1, value of txtVal2
};

// The texts of the tools panel's five number entries.
struct ToolEntries
{
    QString armForwards;  // txtArmForewards
    QString armBackwards; // txtArmBackwards
    QString paperSteps;   // txtPaperSteps
    QString code;         // txtVal1
    QString value;        // txtVal2
};

// A number of an entry, rounded to a whole number (halves to the even
// neighbour) and written with at least four digits, zero-filled on the left:
// 7 gives "0007", 2.5 gives "0002", 12345 gives "12345".
QString toolNumberText(double number);

// The line a button sends, without its CR: "#," code "," value ",0000", each
// number in at least four digits. Nothing when an entry the button reads does
// not hold a valid number (see toolNumberValid), so no line is ever built from
// a number out of range.
std::optional<QString> toolCommandLine(ToolButton button, const ToolEntries &entries);

} // namespace velmora
