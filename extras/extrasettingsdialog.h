#pragma once

#include "extras/extrasettings.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class RemotePanel;

// The extra settings dialog: the command of each job event, the window's
// language, the remote view's panel and where the settings are kept. It only shows values and hands
// back what was typed; the remote view's panel speaks to the view itself.
class ExtraSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ExtraSettingsDialog(QWidget *parent = nullptr);

    // Puts the remote view's panel into the dialog, in a frame of its own.
    void setRemotePanel(RemotePanel *panel);
    RemotePanel *remotePanel() const { return m_remotePanel; }

    void showValues(const ExtraValues &values, const QString &filePath);
    // The values in use with the commands as typed.
    ExtraValues editedValues(ExtraValues inUse) const;

    QLineEdit *entry(JobEvent event) const { return m_entries[std::size_t(event)]; }
    // The window's language, in the order of UiLanguage: the desktop's,
    // Dutch, English.
    QComboBox *cboLanguage = nullptr;
    QPushButton *cmdExtraOK = nullptr;
    QPushButton *cmdExtraCancel = nullptr;
    QLabel *lblExtraFile = nullptr;

private:
    std::array<QLineEdit *, AllJobEvents.size()> m_entries{};
    RemotePanel *m_remotePanel = nullptr;
};

} // namespace velmora
