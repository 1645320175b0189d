#include "tools/toolinputcheck.h"

#include "common/numbers.h"

namespace velmora {

namespace {

constexpr double ToolNumberLimit = 32000;

} // namespace

bool toolNumberValid(QStringView text)
{
    const double n = leadingNumber(text);
    return n > 0 && n < ToolNumberLimit;
}

ToolEntryCheck checkStepEntry(QStringView text, bool portOpen)
{
    const bool valid = toolNumberValid(text);
    return {valid, valid && portOpen};
}

ToolEntryCheck checkCommandEntry(QStringView text, QStringView other, bool portOpen)
{
    ToolEntryCheck check{toolNumberValid(text), std::nullopt};
    if (!check.valid)
        check.buttonsEnabled = false;
    else if (toolNumberValid(other))
        check.buttonsEnabled = true;
    // A valid entry beside an invalid one leaves the button as it is: the
    // other entry's own check disabled it.
    if (!portOpen)
        check.buttonsEnabled = false;
    return check;
}

ToolButtonsEnabled enableToolButtons(const ToolEntries &entries)
{
    ToolButtonsEnabled enabled;
    enabled.armForwards = toolNumberValid(entries.armForwards);
    enabled.armBackwards = toolNumberValid(entries.armBackwards);
    enabled.paperSteps = toolNumberValid(entries.paperSteps);
    enabled.sendCommand = toolNumberValid(entries.code) && toolNumberValid(entries.value);
    return enabled;
}

} // namespace velmora
