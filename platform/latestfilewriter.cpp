#include "platform/latestfilewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace velmora {

namespace {

// Makes a rename or removal in the folder of path durable. Best effort: some
// file systems cannot sync a folder, and the file's own contents are synced
// already.
void syncFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

class DiskStore final : public FileStore
{
public:
    QString replace(const QString &path, const QByteArray &contents) override
    {
        // QSaveFile syncs the new file before it renames it over the old one.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
            !file.commit())
            return file.errorString();
        syncFolder(path);
        return {};
    }

    QString remove(const QString &path) override
    {
        QFile file(path);
        if (!file.remove() && file.exists())
            return file.errorString();
        syncFolder(path);
        return {};
    }
};

} // namespace

std::shared_ptr<FileStore> diskStore()
{
    return std::make_shared<DiskStore>();
}

// What the caller and the writer's thread share. The thread keeps it alive,
// so that a thread left to a hanging disk outlives the writer safely.
struct LatestFileWriter::Shared
{
    struct Request
    {
        Action action;
        QByteArray contents;
    };

    QString path;
    std::shared_ptr<FileStore> store;

    std::mutex mutex;
    std::condition_variable wake; // a request came, or the writer ends
    std::condition_variable idle; // a request was carried out
    std::optional<Request> pending;
    bool busy = false;
    bool ending = false;
    LatestFileWriter *owner = nullptr; // null once the writer is gone
    std::thread thread;

    bool done() const { return !pending && !busy; }

    void run()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return pending || ending; });
            if (!pending)
                return;
            const Request request = *std::exchange(pending, std::nullopt);
            busy = true;
            lock.unlock();
            const QString error = request.action == Action::Write
                                      ? store->replace(path, request.contents)
                                      : store->remove(path);
            lock.lock();
            busy = false;
            // Posted while the writer is alive; a writer destroyed before the
            // report arrives takes the report with it.
            if (LatestFileWriter *to = owner) {
                QMetaObject::invokeMethod(
                    to, [to, action = request.action, error] { emit to->finished(action, error); },
                    Qt::QueuedConnection);
            }
            idle.notify_all();
        }
    }
};

LatestFileWriter::LatestFileWriter(const QString &path, std::shared_ptr<FileStore> store,
                                   QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->path = path;
    m_shared->store = std::move(store);
    m_shared->owner = this;
    m_shared->thread = std::thread([shared = m_shared] { shared->run(); });
}

LatestFileWriter::~LatestFileWriter()
{
    Shared &s = *m_shared;
    std::unique_lock lock(s.mutex);
    s.owner = nullptr;
    s.ending = true;
    s.wake.notify_all();
    const bool done =
        s.idle.wait_for(lock, std::chrono::milliseconds(EndWaitMs), [&s] { return s.done(); });
    lock.unlock();
    if (done)
        s.thread.join();
    else
        s.thread.detach();
}

QString LatestFileWriter::path() const
{
    return m_shared->path;
}

void LatestFileWriter::write(const QByteArray &contents)
{
    request(Action::Write, contents);
}

void LatestFileWriter::remove()
{
    request(Action::Remove, {});
}

void LatestFileWriter::request(Action action, const QByteArray &contents)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->pending = Shared::Request{action, contents};
    }
    m_shared->wake.notify_one();
}

bool LatestFileWriter::waitUntilDone(int timeoutMs)
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [this] { return m_shared->done(); });
}

} // namespace velmora
