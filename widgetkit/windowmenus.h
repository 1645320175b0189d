#pragma once

#include <QAction>

namespace velmora {

// The window's menu entries that the panels' presenters enable and disable:
// File, Settings and Tools. The window hands them over; a presenter needs no
// more of the window than this.
struct WindowMenus
{
    QAction *file = nullptr;     // mnuFile
    QAction *settings = nullptr; // mnuSet
    QAction *tools = nullptr;    // mnuTest

    void setEnabled(bool fileOn, bool settingsOn, bool toolsOn) const
    {
        file->setEnabled(fileOn);
        settings->setEnabled(settingsOn);
        tools->setEnabled(toolsOn);
    }
};

} // namespace velmora
