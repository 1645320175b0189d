#pragma once

#include <QObject>

class QAction;

namespace velmora {

class ExtraSettings;
class ExtraSettingsDialog;
class IntentGate;

// The extra settings in the window: the menu entry opens the dialog with the
// values in use when the window allows it (always, also during a job); OK
// puts the typed values in use and has them kept.
class ExtraSettingsPresenter : public QObject
{
    Q_OBJECT
public:
    ExtraSettingsPresenter(ExtraSettings &settings, ExtraSettingsDialog &dialog,
                           QAction *showDialog, const IntentGate &gate, QObject *parent = nullptr);

    void openDialog();

private:
    ExtraSettings &m_settings;
    ExtraSettingsDialog &m_dialog;
};

} // namespace velmora
