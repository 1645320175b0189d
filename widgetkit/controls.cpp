#include "widgetkit/controls.h"

#include "widgetkit/lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    return nameControl(new QPushButton(caption, parent), name);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = nameControl(new QLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption)
{
    return nameControl(new QCheckBox(caption, parent), name);
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption)
{
    return nameControl(new QGroupBox(caption, parent), name);
}

QLineEdit *makeEntry(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *entry = nameControl(new QLineEdit(parent), name);
    entry->setAccessibleName(accessibleName);
    return entry;
}

Lamp *makeLamp(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *lamp = nameControl(new Lamp(parent), name);
    lamp->setAccessibleName(accessibleName);
    return lamp;
}

QProgressBar *makeProgressBar(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *bar = nameControl(new QProgressBar(parent), name);
    bar->setAccessibleName(accessibleName);
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QHBoxLayout *lampWithLabel(Lamp *lamp, QLabel *label, int labelStretch)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(lamp);
    row->addWidget(label, labelStretch);
    return row;
}

QComboBox *makeChoice(QWidget *parent, const QString &name, const QString &accessibleName,
                      const QStringList &items, int index)
{
    auto *choice = nameControl(new QComboBox(parent), name);
    choice->setAccessibleName(accessibleName);
    choice->addItems(items);
    choice->setCurrentIndex(index);
    return choice;
}

} // namespace velmora
