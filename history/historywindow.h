#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace velmora {

class HistoryTableModel;

// The job history window: a table of the jobs, newest first until a column
// header is clicked, an "Export CSV" button and a line saying how the last
// export went.
class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget *parent = nullptr);

    void setModel(HistoryTableModel *model);

    QTableView *tblHistory = nullptr;
    QPushButton *cmdExportCsv = nullptr;
    QLabel *lblExport = nullptr;

private:
    QSortFilterProxyModel *m_sorted = nullptr;
};

} // namespace velmora
