#include "roll/rollview.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QResizeEvent>

namespace velmora {

RollView::RollView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(10, 10);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RollView::setShapes(std::vector<RollShape> shapes)
{
    m_shapes = std::move(shapes);
    update();
}

QSize RollView::innerSize() const
{
    return contentsRect().size();
}

QSize RollView::sizeHint() const
{
    return {600, 200};
}

void RollView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(PaperColour));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.translate(inner.topLeft());

    for (const RollShape &shape : m_shapes) {
        const QColor colour = QColor::fromRgb(shape.rgb);
        QPen pen(colour);
        pen.setWidth(1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QPointF p1(shape.x1, shape.y1);
        const QPointF p2(shape.x2, shape.y2);
        switch (shape.kind) {
        case RollShape::Kind::Line:
            painter.drawLine(p1, p2);
            break;
        case RollShape::Kind::Circle:
            if (shape.radius > 0.0)
                painter.drawEllipse(p1, shape.radius, shape.radius);
            else
                painter.drawPoint(p1);
            break;
        case RollShape::Kind::FilledRect:
            painter.setBrush(colour);
            painter.drawRect(QRectF(p1, p2).normalized());
            break;
        case RollShape::Kind::Rect:
            painter.drawRect(QRectF(p1, p2).normalized());
            break;
        }
    }
}

void RollView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized(innerSize());
}

} // namespace velmora
