#pragma once

#include <QObject>

#include <functional>

namespace velmora {

class DisplayOptions;
class HoleList;
class IntentGate;
class JobControlsPanel;
class NextNoteState;
class PrtOpener;
class RollView;
class SettingsPanel;

// The roll display in the window: draws the preview around the punch, keeps
// it in step with the preview's size, and runs the next-note entry and
// arrows. The settings panel's two display boxes show and set the display
// options. Each acts while the window allows it; a box changed otherwise
// goes back to the option as it is.
class RollPresenter : public QObject
{
    Q_OBJECT
public:
    RollPresenter(const HoleList &holes, const PrtOpener &opener, NextNoteState &nextNote,
                  DisplayOptions &display, RollView &view, JobControlsPanel &controls,
                  SettingsPanel &settings, const IntentGate &gate, QObject *parent = nullptr);

    // Redraws the whole roll around hole nextNote - 1.
    void drawRoll();
    // Clears the preview to its plain centre line.
    void clearRoll();

private:
    void stepNextNote(int value);
    void enterNextNote();
    void redraw();
    // Runs a change of a display option when the window allows it, and
    // otherwise shows both boxes as the options are again.
    void changeDisplay(const std::function<void()> &change);
    void showDisplayOptions();

    const HoleList &m_holes;
    const PrtOpener &m_opener;
    NextNoteState &m_nextNote;
    DisplayOptions &m_display;
    RollView &m_view;
    JobControlsPanel &m_controls;
    SettingsPanel &m_settings;
    const IntentGate &m_gate;
};

} // namespace velmora
