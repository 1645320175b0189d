#pragma once

#include <QWidget>

namespace velmora {

// Holds the roll preview in the window's layout. The preview always has the
// host's full size; an offset moves it right, so that its centre line lies in
// the middle of the part the tools panel leaves uncovered, and the host clips
// whatever then reaches past its right edge.
class PreviewHost : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewHost(QWidget *view, QWidget *parent = nullptr);

    QWidget *view() const { return m_view; }

    int offset() const { return m_offset; }
    void setOffset(int offset);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeView();

    QWidget *m_view;
    int m_offset = 0;
};

} // namespace velmora
