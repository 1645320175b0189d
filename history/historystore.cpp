#include "history/historystore.h"

#include "history/historycsv.h"
#include "history/historydatabase.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace velmora {

HistoryStore::HistoryStore(const QString &settingsDir, QObject *parent)
    : QObject(parent), m_path(settingsDir + HistoryDatabase::fileName()),
      m_worker(std::make_unique<QObject>())
{
    m_thread.setObjectName(u"history"_s);
    m_worker->moveToThread(&m_thread);
}

HistoryStore::~HistoryStore()
{
    if (!m_thread.isRunning())
        return;
    onWorker([this] {
        flush();
        m_db.reset();
        m_thread.quit();
    });
    m_thread.wait();
}

template <typename F> void HistoryStore::onWorker(F work)
{
    QMetaObject::invokeMethod(m_worker.get(), std::move(work), Qt::QueuedConnection);
}

template <typename F> void HistoryStore::onOwnThread(F emitter)
{
    QMetaObject::invokeMethod(this, std::move(emitter), Qt::QueuedConnection);
}

void HistoryStore::start()
{
    if (m_thread.isRunning())
        return;
    m_thread.start(QThread::LowPriority);
    onWorker([this] {
        m_db = std::make_unique<HistoryDatabase>(m_path);
        if (const QString line = m_db->openForWriting(); !line.isEmpty())
            onOwnThread([this, line] { emit logLine(line); });
    });
}

void HistoryStore::record(const JobRecord &record)
{
    const QMutexLocker lock(&m_mutex);
    m_pending.insert(record.job, record);
    if (!std::exchange(m_flushPosted, true))
        onWorker([this] { flush(); });
}

void HistoryStore::flush()
{
    QMap<quint64, JobRecord> pending;
    {
        const QMutexLocker lock(&m_mutex);
        pending.swap(m_pending);
        m_flushPosted = false;
    }
    if (pending.isEmpty() || !m_db)
        return;
    for (const JobRecord &record : std::as_const(pending)) {
        const QString error = m_db->write(record);
        // One line per kind of failure, not one per hole.
        if (!error.isEmpty() && error != std::exchange(m_writeError, error)) {
            const QString line = u"Job history cannot be written (%1): %2"_s.arg(error, m_path);
            onOwnThread([this, line] { emit logLine(line); });
        }
    }
    onOwnThread([this] { emit changed(); });
}

void HistoryStore::requestRows()
{
    onWorker([this] {
        const QList<JobRecord> rows = m_db ? m_db->rows() : QList<JobRecord>();
        onOwnThread([this, rows] { emit rowsRead(rows); });
    });
}

void HistoryStore::exportCsv(const QString &path)
{
    onWorker([this, path] {
        QString error;
        const QList<JobRecord> rows = m_db ? m_db->rows(&error) : QList<JobRecord>();
        const QByteArray text = historyCsv(rows);
        QSaveFile file(path);
        if (error.isEmpty() &&
            !(file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()))
            error = file.errorString();
        onOwnThread([this, path, error] { emit exported(path, error); });
    });
}

} // namespace velmora
