#pragma once

#include <QFrame>

namespace velmora {

// A panel that lies over the top-left corner of the window while it is shown
// (the settings and the tools panel). It paints its own background, always
// has the size its contents ask for, and carries a thin border shape one
// pixel inside its edge, which stays behind its controls and ignores the
// mouse. The panel starts hidden.
class OverlayPanel : public QFrame
{
    Q_OBJECT
public:
    // name: the panel's control name; borderName: that of its border shape.
    OverlayPanel(const QString &name, const QString &borderName, QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QFrame *m_border;
};

} // namespace velmora
