#include "history/historydatabase.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

QString reasonOf(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// SQLite's busy and locked: another program holds the file just now, which
// is no damage.
bool isBusy(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}

// Runs one statement; its error text, empty when it ran.
QString exec(QSqlQuery &query, const QString &statement)
{
    return query.exec(statement) ? QString() : reasonOf(query.lastError());
}

// SQLite keeps a journal beside the file while it writes; it belongs to the file.
const QStringList Companions = {u"-journal"_s, u"-wal"_s, u"-shm"_s};

} // namespace

HistoryDatabase::HistoryDatabase(const QString &path) : m_path(path)
{
    static QAtomicInt count;
    m_connection = u"velmora-history-%1"_s.arg(count.fetchAndAddRelaxed(1));
}

HistoryDatabase::~HistoryDatabase()
{
    close();
}

void HistoryDatabase::close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_usable = false;
}

QString HistoryDatabase::open(bool readOnly)
{
    close();
    m_busy = false;
    m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    m_db.setDatabaseName(m_path);
    // The program and velmora --history may use the file at the same time.
    m_db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s +
                           (readOnly ? u";QSQLITE_OPEN_READONLY"_s : QString()));
    if (!m_db.open())
        return reasonOf(m_db.lastError());
    // SQLite reads the file first here: a file that is no database fails now.
    QSqlQuery query(m_db);
    if (!query.exec(u"PRAGMA quick_check"_s)) {
        m_busy = isBusy(query.lastError());
        return reasonOf(query.lastError());
    }
    if (query.next() && query.value(0).toString() != u"ok"_s)
        return query.value(0).toString();
    m_usable = true;
    return {};
}

QString HistoryDatabase::openForReading()
{
    if (!QFileInfo::exists(m_path))
        return u"no such file"_s;
    return open(true);
}

QString HistoryDatabase::openForWriting()
{
    if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s))
        return u"Job history cannot be written (no SQLite driver of Qt SQL): %1"_s.arg(m_path);
    const bool existed = QFileInfo::exists(m_path);
    QString error = open(false);
    if (!error.isEmpty() && existed && !m_busy)
        return keepAside(error);
    if (error.isEmpty())
        error = migrate();
    if (!error.isEmpty()) {
        close();
        return u"Job history cannot be written (%1): %2"_s.arg(error, m_path);
    }
    QSqlQuery query(m_db);
    exec(query, u"UPDATE jobs SET outcome = 'interrupted' WHERE outcome IS NULL"_s);
    return {};
}

// Brings the file to SchemaVersion, one step per version; a file of a newer
// program is left alone.
QString HistoryDatabase::migrate()
{
    QSqlQuery query(m_db);
    if (const QString error = exec(query, u"PRAGMA user_version"_s); !error.isEmpty())
        return error;
    const int version = query.next() ? query.value(0).toInt() : 0;
    if (version > SchemaVersion)
        return u"made by a newer program, version %1"_s.arg(version);
    if (version == SchemaVersion)
        return {};
    const QStringList steps = {
        // 0 to 1: a new file.
        u"CREATE TABLE jobs (id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT, "
        "roll TEXT NOT NULL, name TEXT NOT NULL, holes INTEGER NOT NULL, "
        "first INTEGER NOT NULL, last INTEGER NOT NULL, sent INTEGER NOT NULL, "
        "seconds INTEGER NOT NULL, outcome TEXT)"_s,
    };
    m_db.transaction();
    for (int from = version; from < SchemaVersion; ++from) {
        if (const QString error = exec(query, steps[from]); !error.isEmpty()) {
            m_db.rollback();
            return error;
        }
    }
    exec(query, u"PRAGMA user_version = %1"_s.arg(SchemaVersion));
    return m_db.commit() ? QString() : reasonOf(m_db.lastError());
}

// Renames the file with a time stamp, with the journal SQLite may have left
// beside it, and starts a new one.
QString HistoryDatabase::keepAside(const QString &reason)
{
    close();
    const QFileInfo info(m_path);
    const QString aside = info.path() + u'/' + info.completeBaseName() + u"-damaged-"_s +
                          QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s) + u'.' +
                          info.suffix();
    if (!QFile::rename(m_path, aside))
        return u"Job history cannot be read (%1) nor kept aside, none is written: %2"_s.arg(reason,
                                                                                            m_path);
    for (const QString &companion : Companions)
        QFile::rename(m_path + companion, aside + companion);
    if (const QString line = openForWriting(); !line.isEmpty())
        return line;
    return u"Job history cannot be read (%1), kept aside as %2, a new one started: %3"_s.arg(
        reason, QFileInfo(aside).fileName(), m_path);
}

QString HistoryDatabase::write(const JobRecord &r)
{
    // Without a usable file the history is off for this run; opening said why.
    if (!m_usable)
        return {};
    QSqlQuery query(m_db);
    const auto row = m_rowOf.constFind(r.job);
    if (row == m_rowOf.cend()) {
        query.prepare(u"INSERT INTO jobs (ended, first, last, sent, seconds, outcome, started, "
                      "roll, name, holes) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    } else {
        query.prepare(u"UPDATE jobs SET ended = ?, first = ?, last = ?, sent = ?, seconds = ?, "
                      "outcome = ? WHERE id = ?"_s);
    }
    for (const QVariant &value :
         {QVariant(r.ended), QVariant(r.first), QVariant(r.last), QVariant(r.sent),
          QVariant(r.seconds), r.outcome.isEmpty() ? QVariant() : QVariant(r.outcome)})
        query.addBindValue(value);
    if (row == m_rowOf.cend()) {
        for (const QVariant &value :
             {QVariant(r.started), QVariant(r.roll), QVariant(r.name), QVariant(r.holes)})
            query.addBindValue(value);
    } else {
        query.addBindValue(*row);
    }
    if (!query.exec())
        return reasonOf(query.lastError());
    if (row == m_rowOf.cend())
        m_rowOf.insert(r.job, query.lastInsertId().toLongLong());
    return {};
}

QList<JobRecord> HistoryDatabase::rows(QString *error) const
{
    QList<JobRecord> rows;
    if (!m_usable)
        return rows;
    QSqlQuery query(m_db);
    if (!query.exec(u"SELECT started, ended, roll, name, holes, first, last, sent, seconds, "
                    "outcome FROM jobs ORDER BY id"_s)) {
        if (error)
            *error = reasonOf(query.lastError());
        return rows;
    }
    while (query.next()) {
        rows.append({0, query.value(0).toString(), query.value(1).toString(),
                     query.value(2).toString(), query.value(3).toString(), query.value(4).toInt(),
                     query.value(5).toInt(), query.value(6).toInt(), query.value(7).toInt(),
                     query.value(8).toLongLong(), query.value(9).toString()});
    }
    return rows;
}

} // namespace velmora
