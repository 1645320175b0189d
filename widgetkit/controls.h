#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Builders for the window's controls. Every control carries its control name
// as objectName and as accessible description, so that tests, screen readers
// and outside automation find it by that name. Buttons, labels, check boxes
// and frames are announced by their caption; entries, choice lists and lamps
// get a short accessible name of their own, and so do progress bars.
namespace velmora {

class Lamp;

template <typename W> W *nameControl(W *control, const QString &name)
{
    control->setObjectName(name);
    control->setAccessibleDescription(name);
    return control;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption);
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption);
QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption);
QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption);
QLineEdit *makeEntry(QWidget *parent, const QString &name, const QString &accessibleName);
Lamp *makeLamp(QWidget *parent, const QString &name, const QString &accessibleName);
// A bar of how far something has come, empty and without text until it is
// given a range.
QProgressBar *makeProgressBar(QWidget *parent, const QString &name, const QString &accessibleName);

// A lamp with its caption to the right, as one row.
QHBoxLayout *lampWithLabel(Lamp *lamp, QLabel *label, int labelStretch = 0);

// A drop-down list with fixed entries; index -1 leaves no entry selected.
QComboBox *makeChoice(QWidget *parent, const QString &name, const QString &accessibleName,
                      const QStringList &items, int index);

} // namespace velmora
