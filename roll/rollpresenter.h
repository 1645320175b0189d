#pragma once

#include <QObject>

class MainWindow;

namespace velmora {

class AppCore;

// The roll display in the window: draws the preview around the punch, keeps
// it in step with the window size, and runs the next-note entry and arrows.
class RollPresenter : public QObject
{
    Q_OBJECT
public:
    RollPresenter(AppCore &core, MainWindow &window);

    // Redraws the whole roll around hole nextNote - 1.
    void drawRoll();
    // Clears the preview to its plain centre line.
    void clearRoll();

private:
    void vscNextNote_Change(int value);
    void txtNextNote_Enter();
    void resized();

    AppCore &m_core;
    MainWindow &m_window;
};

} // namespace velmora
