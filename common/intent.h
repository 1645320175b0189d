#pragma once

#include <bitset>

namespace velmora {

// What the operator can ask of the window. Whether an intent is allowed now
// is one decision of the application, made from the job, the port, the roll
// and the panel shown; the controls show it, and an intent it refuses does
// nothing, whichever way it came: the mouse, the keyboard, a screen reader's
// action or a queued event.
enum class Intent
{
    FileMenu,         // mnuFile opens
    OpenRoll,         // File, Open
    Exit,             // cmdExit, File, Exit
    ShowSettings,     // mnuSet
    ShowTools,        // mnuTest
    ExtrasMenu,       // mnuExtras opens
    ShowHistory,      // Extras, Job history
    EditExtras,       // Extras, Extra settings
    MainControls,     // frmControls as a whole
    OpenPort,         // cmdOpenport
    Start,            // cmdStart
    Pause,            // cmdPause
    Resume,           // cmdResume
    PunchOne,         // cmd1Note
    Stop,             // cmdStop
    AnswerStop,       // picStop with Yes and No
    ChooseNextNote,   // txtNextNote, vscNextNote
    ChangeSettings,   // the settings panel: port choices, "Standard values", "force on",
                      // calibration entries, display options
    ChooseFormat,     // cboFormats
    OpenFormatEditor, // cmdFormat
    EditFormat,       // the user format editor's lists and buttons
    LeaveSettings,    // cmdSettingsExit
    ToolCommands,     // the tools panel's command buttons
    LeaveTools,       // cmdToolsExit
};
inline constexpr int IntentCount = int(Intent::LeaveTools) + 1;

// The intents allowed at one moment.
class Allowed
{
public:
    bool allows(Intent intent) const { return m_bits.test(std::size_t(intent)); }
    void set(Intent intent, bool allowed) { m_bits.set(std::size_t(intent), allowed); }

    bool operator==(const Allowed &) const = default;

private:
    std::bitset<IntentCount> m_bits;
};

// Asked before an intent is carried out. The presenters ask it for every
// action a control forwards; the application answers.
class IntentGate
{
public:
    virtual Allowed allowed() const = 0;
    bool allows(Intent intent) const { return allowed().allows(intent); }

protected:
    ~IntentGate() = default;
};

} // namespace velmora
