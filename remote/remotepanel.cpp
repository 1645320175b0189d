#include "remote/remotepanel.h"

#include "remote/remoteview.h"
#include "widgetkit/controls.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int QuietModules = 4; // the light margin a reader needs

} // namespace

QrCodeView::QrCodeView(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(120, 120);
}

void QrCodeView::setMatrix(QrMatrix matrix)
{
    m_matrix = std::move(matrix);
    update();
}

void QrCodeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_matrix.size == 0)
        return;
    const int modules = m_matrix.size + 2 * QuietModules;
    const int scale = qMax(1, qMin(width(), height()) / modules);
    const QPoint origin((width() - modules * scale) / 2, (height() - modules * scale) / 2);
    painter.fillRect(QRect(origin, QSize(modules * scale, modules * scale)), Qt::white);
    for (int y = 0; y < m_matrix.size; ++y) {
        for (int x = 0; x < m_matrix.size; ++x) {
            if (m_matrix.isDark(x, y))
                painter.fillRect(origin.x() + (x + QuietModules) * scale,
                                 origin.y() + (y + QuietModules) * scale, scale, scale, Qt::black);
        }
    }
}

RemotePanel::RemotePanel(RemoteView &view, QWidget *parent) : QWidget(parent), m_view(view)
{
    chkRemote = makeCheckBox(this, QStringLiteral("chkRemote"),
                             tr("Show the running roll on a phone (remote view)"));
    spnRemotePort = nameControl(new QSpinBox(this), QStringLiteral("spnRemotePort"));
    spnRemotePort->setRange(1, 65535);
    spnRemotePort->setAccessibleName(tr("Port"));
    cmdRemoteToken = makeButton(this, QStringLiteral("cmdRemoteToken"), tr("Make a new token"));
    lblRemoteStatus = makeLabel(this, QStringLiteral("lblRemoteStatus"), QString());
    lblRemoteStatus->setWordWrap(true);
    lblRemoteAddress = makeLabel(this, QStringLiteral("lblRemoteAddress"), QString());
    lblRemoteAddress->setTextFormat(Qt::RichText);
    lblRemoteAddress->setOpenExternalLinks(true);
    lblRemoteAddress->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblRemoteAddress->setWordWrap(true);
    picRemoteQr = nameControl(new QrCodeView(this), QStringLiteral("picRemoteQr"));
    picRemoteQr->setAccessibleName(tr("QR code of the address"));

    auto *form = new QFormLayout;
    form->addRow(tr("Port:"), spnRemotePort);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkRemote);
    layout->addLayout(form);
    layout->addWidget(lblRemoteStatus);
    layout->addWidget(lblRemoteAddress);
    layout->addWidget(picRemoteQr, 1);
    layout->addWidget(cmdRemoteToken);

    // Only the operator's own changes reach the view.
    connect(chkRemote, &QCheckBox::clicked, &view, &RemoteView::setEnabled);
    connect(spnRemotePort, &QSpinBox::editingFinished, this,
            [this] { m_view.setPort(quint16(spnRemotePort->value())); });
    connect(cmdRemoteToken, &QPushButton::clicked, &view, &RemoteView::renewToken);
    connect(&view, &RemoteView::stateChanged, this, &RemotePanel::showView);
    showView();
}

void RemotePanel::showView()
{
    const RemoteSettings &settings = m_view.settings();
    chkRemote->setChecked(settings.enabled);
    spnRemotePort->setValue(settings.port);
    lblRemoteStatus->setText(m_view.statusText());
    const QStringList addresses = m_view.pageAddresses();
    QStringList links;
    for (const QString &address : addresses)
        links << QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped());
    lblRemoteAddress->setText(links.join(QStringLiteral("<br>")));
    lblRemoteAddress->setVisible(!addresses.isEmpty());
    picRemoteQr->setMatrix(addresses.isEmpty() ? QrMatrix() : qrMatrix(addresses.first().toUtf8()));
    picRemoteQr->setVisible(!addresses.isEmpty());
}

} // namespace velmora
