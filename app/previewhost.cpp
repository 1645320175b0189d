#include "app/previewhost.h"

#include <QResizeEvent>

namespace velmora {

PreviewHost::PreviewHost(QWidget *view, QWidget *parent) : QWidget(parent), m_view(view)
{
    m_view->setParent(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    placeView();
}

void PreviewHost::setOffset(int offset)
{
    if (offset == m_offset) {
        return;
    }
    m_offset = offset;
    placeView();
}

QSize PreviewHost::sizeHint() const
{
    return m_view->sizeHint();
}

QSize PreviewHost::minimumSizeHint() const
{
    return m_view->minimumSize();
}

void PreviewHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeView();
}

void PreviewHost::placeView()
{
    m_view->setGeometry(m_offset, 0, width(), height());
}

} // namespace velmora
