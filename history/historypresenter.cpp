#include "history/historypresenter.h"

#include "common/intent.h"
#include "history/historystore.h"
#include "history/historywindow.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace velmora {

HistoryPresenter::HistoryPresenter(HistoryStore &store, HistoryWindow &window, QAction *showHistory,
                                   const IntentGate &gate, QObject *parent)
    : QObject(parent), m_store(store), m_window(window)
{
    window.setModel(&m_model);
    connect(showHistory, &QAction::triggered, this, [this, &gate] {
        if (gate.allows(Intent::ShowHistory))
            showWindow();
    });
    connect(&store, &HistoryStore::changed, this, [this] {
        if (m_window.isVisible())
            m_store.requestRows();
    });
    connect(&store, &HistoryStore::rowsRead, &m_model, &HistoryTableModel::setRows);
    connect(window.cmdExportCsv, &QPushButton::clicked, this, &HistoryPresenter::askExportFile);
    connect(&store, &HistoryStore::exported, this,
            [this](const QString &path, const QString &error) {
                m_window.lblExport->setText(error.isEmpty()
                                                ? tr("Exported to %1").arg(path)
                                                : tr("Not exported (%1): %2").arg(error, path));
            });
}

void HistoryPresenter::showWindow()
{
    m_store.requestRows();
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void HistoryPresenter::askExportFile()
{
    auto *dialog =
        new QFileDialog(&m_window, tr("Export CSV"), QDir::homePath(), tr("CSV files (*.csv)"));
    dialog->setObjectName(u"dlgExportCsv"_s);
    // Qt's own dialog, and no overwrite question: that question would be a
    // message box with an event loop of its own.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(u"csv"_s);
    dialog->selectFile(u"velmora-history-%1.csv"_s.arg(QDate::currentDate().toString(Qt::ISODate)));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        m_window.lblExport->setText(tr("Exporting to %1").arg(path));
        m_store.exportCsv(path);
    });
    dialog->open();
}

} // namespace velmora
