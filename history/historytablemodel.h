#pragma once

#include "history/jobrecord.h"

#include <QAbstractTableModel>
#include <QList>

namespace velmora {

// The jobs of the history as the history window's table shows them: one row
// per job, a column per field, times in local time. SortRole gives each cell
// as a value to sort by (times as moments, numbers as numbers); the rows are
// to be given oldest job first.
class HistoryTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int SortRole = Qt::UserRole;
    enum Column
    {
        Started,
        Ended,
        Roll,
        Name,
        Holes,
        First,
        Last,
        Sent,
        Seconds,
        Outcome,
        ColumnCount
    };

    explicit HistoryTableModel(QObject *parent = nullptr);

    void setRows(const QList<velmora::JobRecord> &rows);
    const QList<JobRecord> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // An outcome as the table shows it, in the window's language.
    static QString outcomeCaption(const QString &outcome);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<JobRecord> m_rows;
};

} // namespace velmora
