#pragma once

#include "roll/rollgeometry.h"

#include <QSize>
#include <QWidget>

#include <vector>

namespace velmora {

// The roll preview: paints the shapes it is given, in pixel coordinates from
// the top-left corner of its inner area, without antialiasing and with 1-pixel
// pens, on a paper-coloured background. It computes nothing itself.
class RollView : public QWidget
{
    Q_OBJECT
public:
    static constexpr quint32 PaperColour = RollPaper;

    explicit RollView(QWidget *parent = nullptr);

    void setShapes(std::vector<RollShape> shapes);
    const std::vector<RollShape> &shapes() const { return m_shapes; }

    // The area the shapes are drawn in, in whole pixels.
    QSize innerSize() const;

    QSize sizeHint() const override;

signals:
    void resized(QSize innerSize);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    std::vector<RollShape> m_shapes;
};

} // namespace velmora
