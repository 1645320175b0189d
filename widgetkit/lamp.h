#pragma once

#include <QColor>
#include <QWidget>

namespace velmora {

// A small round indicator filled with one colour: the port state, the modem
// lines and the flow-control state are shown this way.
class Lamp : public QWidget
{
    Q_OBJECT
public:
    explicit Lamp(QWidget *parent = nullptr);

    // The fill every lamp has when the window opens.
    static QColor initialColor() { return QColor(128, 128, 128); }

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = initialColor();
};

} // namespace velmora
