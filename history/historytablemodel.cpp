#include "history/historytablemodel.h"

using namespace Qt::StringLiterals;

namespace velmora {

HistoryTableModel::HistoryTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void HistoryTableModel::setRows(const QList<JobRecord> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const JobRecord &r = m_rows[index.row()];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && column >= Holes && column <= Seconds)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    switch (column) {
    case Started:
    case Ended: {
        // The rows stand in the order the jobs began, also within one second.
        if (role == SortRole && column == Started)
            return index.row();
        const QDateTime time =
            QDateTime::fromString(column == Started ? r.started : r.ended, Qt::ISODate);
        if (role == SortRole)
            return time;
        return time.isValid() ? time.toLocalTime().toString(u"yyyy-MM-dd HH:mm:ss"_s) : QString();
    }
    case Roll:
        return r.roll;
    case Name:
        return r.name;
    case Holes:
        return r.holes;
    case First:
        return r.first;
    case Last:
        return r.last;
    case Sent:
        return r.sent;
    case Seconds:
        return r.seconds;
    case Outcome:
        return role == Qt::DisplayRole ? outcomeCaption(r.outcome) : r.outcome;
    }
    return {};
}

// The outcome as the window shows it, in its language; the history file and
// its CSV keep the English word.
QString HistoryTableModel::outcomeCaption(const QString &outcome)
{
    if (outcome.isEmpty())
        return tr("running");
    const std::pair<QString, QString> captions[] = {
        {u"completed"_s, tr("completed")},
        {u"stopped"_s, tr("stopped")},
        {u"controller-stop"_s, tr("controller-stop")},
        {u"interrupted"_s, tr("interrupted")},
    };
    for (const auto &[word, caption] : captions) {
        if (outcome == word)
            return caption;
    }
    return outcome;
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString titles[ColumnCount] = {tr("Started"), tr("Ended"),  tr("Roll"), tr("Name"),
                                         tr("Holes"),   tr("First"),  tr("Last"), tr("Sent"),
                                         tr("Seconds"), tr("Outcome")};
    return section >= 0 && section < ColumnCount ? titles[section] : QVariant();
}

} // namespace velmora
