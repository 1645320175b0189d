#include "settings/statuspanel.h"

#include "widgetkit/controls.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {
// Wide enough for the longest built-in format description.
constexpr int StatusColumns = 38;
} // namespace

StatusPanel::StatusPanel(QWidget *parent) : QGroupBox(tr("Status"), parent)
{
    nameControl(this, u"frmStatus"_s);
    lblStatus = makeLabel(this, u"lblStatus"_s, QString());
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(lblStatus, 1);

    const QMargins margins = contentsMargins() + layout->contentsMargins();
    m_preferredWidth =
        StatusColumns * fontMetrics().averageCharWidth() + margins.left() + margins.right();
    setMaximumWidth(m_preferredWidth);
}

QSize StatusPanel::sizeHint() const
{
    return {m_preferredWidth, QGroupBox::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {0, QGroupBox::minimumSizeHint().height()};
}

} // namespace velmora
