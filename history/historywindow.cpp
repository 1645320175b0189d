#include "history/historywindow.h"

#include "history/historytablemodel.h"
#include "widgetkit/controls.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace velmora {

HistoryWindow::HistoryWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    nameControl(this, u"winHistory"_s);
    setWindowTitle(tr("Job history"));
    resize(900, 400);

    tblHistory = nameControl(new QTableView(this), u"tblHistory"_s);
    tblHistory->setAccessibleName(tr("Jobs"));
    tblHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblHistory->verticalHeader()->hide();
    tblHistory->horizontalHeader()->setStretchLastSection(true);
    cmdExportCsv = makeButton(this, u"cmdExportCsv"_s, tr("Export CSV"));
    lblExport = makeLabel(this, u"lblExport"_s, QString());

    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSortRole(HistoryTableModel::SortRole);
    tblHistory->setModel(m_sorted);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cmdExportCsv);
    bottom->addWidget(lblExport, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblHistory, 1);
    layout->addLayout(bottom);
}

void HistoryWindow::setModel(HistoryTableModel *model)
{
    m_sorted->setSourceModel(model);
    tblHistory->setSortingEnabled(true);
    tblHistory->sortByColumn(HistoryTableModel::Started, Qt::DescendingOrder);
}

} // namespace velmora
