#pragma once

#include <QObject>

namespace velmora {

// The two roll-display options of the settings panel: the roll moved to the
// right of the preview (chkRechts) and the roll shown in mirror image
// (chkMirror). The preview reads them each time it draws.
class DisplayOptions : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool right() const { return m_right; }
    bool mirror() const { return m_mirror; }

    // "Move roll on screen to right" checked or cleared: the roll is redrawn
    // when one is loaded.
    void setRight(bool right);
    // "Display in mirror image": taken at the next drawing.
    void setMirror(bool mirror);

signals:
    void rightChanged(bool right);
    void mirrorChanged(bool mirror);

private:
    bool m_right = false;
    bool m_mirror = false;
};

} // namespace velmora
