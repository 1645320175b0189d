#pragma once

#include <QGroupBox>

class QLabel;

namespace velmora {

// The frame frmStatus beside the main controls. Its one label, lblStatus,
// summarises the current format, the calibration values and the port
// settings; the settings code writes its text.
//
// It asks for a width that fits the longest built-in format description but
// can be narrowed to nothing, so that on a narrow screen the window need not
// grow past the main controls: the status is then cut off at the right.
class StatusPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit StatusPanel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QLabel *lblStatus = nullptr;

private:
    int m_preferredWidth = 0;
};

} // namespace velmora
