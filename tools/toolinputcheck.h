#pragma once

#include "tools/toolcommands.h"

#include <QStringView>

#include <optional>

namespace velmora {

// The checks of the tools panel's number entries. They keep no state: each
// looks only at the texts and at whether the port is open.

// An entry's number, read as every typed number is read, is valid when
// 0 < n < 32000; both ends are excluded, so 0.5 and 31999 are valid and 0
// and 32000 are not.
bool toolNumberValid(QStringView text);

// The outcome of one entry's check: the entry's colour (valid or not) and the
// enabled state of the button or buttons it governs, or nothing when the
// check leaves them as they are.
struct ToolEntryCheck
{
    bool valid = false;
    std::optional<bool> buttonsEnabled;

    bool operator==(const ToolEntryCheck &) const = default;
};

// A step entry (txtArmForewards, txtArmBackwards, txtPaperSteps): its
// button(s) are enabled only with a valid number and the port open.
ToolEntryCheck checkStepEntry(QStringView text, bool portOpen);

// A command entry (txtVal1 or txtVal2), other being the text of the second
// one. A valid number enables "Send command" when the other entry is valid
// too and leaves it as it is otherwise; an invalid one disables it; with the
// port closed it is disabled whatever the numbers.
ToolEntryCheck checkCommandEntry(QStringView text, QStringView other, bool portOpen);

// The buttons a successful opening of the port enables: the step buttons and
// "Send command" whose entries hold valid numbers, and the four buttons that
// read no entry. A false member is left as it is, never disabled.
struct ToolButtonsEnabled
{
    bool armForwards = false;
    bool armBackwards = false;
    bool paperSteps = false;   // both paper buttons
    bool fixedCommands = true; // arm to start, arm to center, punch, show settings
    bool sendCommand = false;

    bool operator==(const ToolButtonsEnabled &) const = default;
};
ToolButtonsEnabled enableToolButtons(const ToolEntries &entries);

} // namespace velmora
