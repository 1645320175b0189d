#pragma once

#include "platform/filechooser.h"

#include <QCoreApplication>

class QWidget;

namespace velmora {

// Qt's own file dialog (not the desktop's), shown window-modal without a
// nested event loop. It offers existing .prt and .PRT files only.
class FileDialogChooser : public FileChooser
{
    Q_DECLARE_TR_FUNCTIONS(velmora::FileDialogChooser)

public:
    explicit FileDialogChooser(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void choosePrtFile(const QString &startDir, std::function<void(FileChoice)> done) override;

private:
    QWidget *m_parent;
};

} // namespace velmora
