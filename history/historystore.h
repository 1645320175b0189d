#pragma once

#include "history/jobrecord.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QThread>

#include <memory>

namespace velmora {

class HistoryDatabase;

// The job history kept by a worker thread, so that neither the job nor the
// window ever waits for the disk: the window's thread posts records and asks
// for rows, and the answers come back as signals on its own thread. Records
// of one job overwrite each other until the worker comes to them: the latest
// state of each job is written, and a job's last record is never lost to the
// next job's.
class HistoryStore : public QObject
{
    Q_OBJECT
public:
    explicit HistoryStore(const QString &settingsDir, QObject *parent = nullptr);
    // Writes what was posted, then stops the worker.
    ~HistoryStore() override;

    QString path() const { return m_path; }

    // Opens the history on the worker; jobs left unfinished by an earlier run
    // are closed as interrupted.
    void start();
    void record(const velmora::JobRecord &record);
    // Every job, oldest first, comes back through rowsRead.
    void requestRows();
    // Writes every job as CSV to path; the end comes back through exported.
    void exportCsv(const QString &path);

signals:
    void logLine(const QString &line);
    // The worker has written records.
    void changed();
    void rowsRead(const QList<velmora::JobRecord> &rows);
    // error is empty when the file was written.
    void exported(const QString &path, const QString &error);

private:
    // Worker side.
    void flush();
    // Runs work on the worker, after everything posted before it.
    template <typename F> void onWorker(F work);
    // Emits from the store's own thread.
    template <typename F> void onOwnThread(F emitter);

    QString m_path;
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;     // lives on m_thread
    std::unique_ptr<HistoryDatabase> m_db; // used on m_thread only
    QString m_writeError;                  // the last failure logged, on m_thread

    QMutex m_mutex;
    QMap<quint64, JobRecord> m_pending; // by job, in the order jobs began
    bool m_flushPosted = false;
};

} // namespace velmora
