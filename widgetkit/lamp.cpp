#include "widgetkit/lamp.h"

#include <QPainter>

namespace velmora {

namespace {
constexpr int LampDiameter = 14;
}

Lamp::Lamp(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void Lamp::setColor(const QColor &color)
{
    if (color == m_color) {
        return;
    }
    m_color = color;
    update();
}

QSize Lamp::sizeHint() const
{
    return {LampDiameter, LampDiameter};
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(m_color);
    const int side = qMin(width(), height()) - 2;
    painter.drawEllipse(QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
}

} // namespace velmora
