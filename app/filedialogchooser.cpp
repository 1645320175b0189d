#include "app/filedialogchooser.h"

#include <QFileDialog>

namespace velmora {

void FileDialogChooser::choosePrtFile(const QString &startDir, std::function<void(FileChoice)> done)
{
    auto *dialog =
        new QFileDialog(m_parent, tr("Open PRT File"), startDir, tr("PRT files (*.prt *.PRT)"));
    dialog->setObjectName(QStringLiteral("dlgFile"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setDefaultSuffix(QStringLiteral("prt"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
        FileChoice choice;
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty()) {
            choice.outcome = FileChoice::Chosen;
            choice.path = files.constFirst();
        }
        done(choice);
    });
    dialog->open();
}

} // namespace velmora
