#include "extras/extrasettingspresenter.h"

#include "common/intent.h"
#include "extras/extrasettings.h"
#include "extras/extrasettingsdialog.h"

#include <QAction>

namespace velmora {

ExtraSettingsPresenter::ExtraSettingsPresenter(ExtraSettings &settings, ExtraSettingsDialog &dialog,
                                               QAction *showDialog, const IntentGate &gate,
                                               QObject *parent)
    : QObject(parent), m_settings(settings), m_dialog(dialog)
{
    connect(showDialog, &QAction::triggered, this, [this, &gate] {
        if (gate.allows(Intent::EditExtras))
            openDialog();
    });
    // OK keeps the commands typed; the remote view's settings stay as the view
    // has them, whatever the operator did with its panel meanwhile.
    connect(&dialog, &QDialog::accepted, this,
            [this] { m_settings.setValues(m_dialog.editedValues(m_settings.values())); });
}

void ExtraSettingsPresenter::openDialog()
{
    // Not modal: Pause and Stop stay within reach while it is open.
    if (!m_dialog.isVisible())
        m_dialog.showValues(m_settings.values(), m_settings.path());
    m_dialog.show();
    m_dialog.raise();
    m_dialog.activateWindow();
}

} // namespace velmora
