#pragma once

#include "remote/qrmatrix.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace velmora {

class RemoteView;

// Paints a QR code with its light margin, as large as fits.
class QrCodeView : public QWidget
{
    Q_OBJECT
public:
    explicit QrCodeView(QWidget *parent = nullptr);

    void setMatrix(QrMatrix matrix);
    const QrMatrix &matrix() const { return m_matrix; }

    QSize sizeHint() const override { return {200, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QrMatrix m_matrix;
};

// The remote view's part of a settings dialog: turning the view on and off,
// its port, the page's address as a link and as a QR code for a phone, a new
// token, and how the view stands. The view decides; this shows and forwards.
class RemotePanel : public QWidget
{
    Q_OBJECT
public:
    explicit RemotePanel(RemoteView &view, QWidget *parent = nullptr);

    QCheckBox *chkRemote;
    QSpinBox *spnRemotePort;
    QPushButton *cmdRemoteToken;
    QLabel *lblRemoteStatus;
    QLabel *lblRemoteAddress;
    QrCodeView *picRemoteQr;

private:
    void showView();

    RemoteView &m_view;
};

} // namespace velmora
