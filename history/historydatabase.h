#pragma once

#include "history/jobrecord.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace velmora {

// The job history file, history.sqlite, used from one thread. Its schema
// version is SQLite's user_version; a newer program migrates an older file
// when it opens it for writing.
class HistoryDatabase
{
public:
    static constexpr int SchemaVersion = 1;
    static QString fileName() { return QStringLiteral("history.sqlite"); }

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    QString path() const { return m_path; }

    // Opens the file for the running program, making it when missing. A file
    // that cannot be read or is damaged is renamed with a time stamp and a
    // new one started; a file another program holds just now is left alone.
    // Jobs that never ended (the program stopped during them) are closed as
    // interrupted. Returns the log line of what went wrong, empty when
    // nothing did; without a usable file nothing is written.
    QString openForWriting();
    // Opens an existing file without changing it; the reason when it cannot.
    QString openForReading();

    // Adds the job, or brings its row up to date when this run has written it
    // before. Returns the reason when it cannot, otherwise an empty text.
    QString write(const JobRecord &record);
    // Every job, oldest first; error gets the reason when they cannot be read.
    // None without a usable file.
    QList<JobRecord> rows(QString *error = nullptr) const;

private:
    QString open(bool readOnly);
    QString migrate();
    QString keepAside(const QString &reason);
    void close();

    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
    bool m_usable = false;
    bool m_busy = false;            // the last open failed as another program held the file
    QHash<quint64, qint64> m_rowOf; // job number of this run -> its row
};

} // namespace velmora
