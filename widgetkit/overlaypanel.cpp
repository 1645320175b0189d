#include "widgetkit/overlaypanel.h"

#include "widgetkit/controls.h"

#include <QResizeEvent>

namespace velmora {

OverlayPanel::OverlayPanel(const QString &name, const QString &borderName, QWidget *parent)
    : QFrame(parent), m_border(nameControl(new QFrame(this), borderName))
{
    nameControl(this, name);
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);

    m_border->setFrameShape(QFrame::Box);
    m_border->setFrameShadow(QFrame::Plain);
    m_border->setLineWidth(1);
    m_border->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_border->setFocusPolicy(Qt::NoFocus);
    hide();
}

void OverlayPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_border->setGeometry(1, 1, width() - 2, height() - 2);
    m_border->lower();
}

} // namespace velmora
