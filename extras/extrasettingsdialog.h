#pragma once

#include "extras/extrasettings.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// The extra settings dialog: the command of each job event and where the
// settings are kept. It only shows values and hands back what was typed.
class ExtraSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ExtraSettingsDialog(QWidget *parent = nullptr);

    void showValues(const ExtraValues &values, const QString &filePath);
    ExtraValues values() const;

    QLineEdit *entry(JobEvent event) const { return m_entries[std::size_t(event)]; }
    QPushButton *cmdExtraOK = nullptr;
    QPushButton *cmdExtraCancel = nullptr;
    QLabel *lblExtraFile = nullptr;

private:
    std::array<QLineEdit *, AllJobEvents.size()> m_entries{};
};

} // namespace velmora
