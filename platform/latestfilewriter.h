#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

namespace velmora {

// What a LatestFileWriter does to the disk, on the writer's own thread. Each
// call returns the system's reason when it fails, the empty text when it
// succeeds.
class FileStore
{
public:
    virtual ~FileStore() = default;
    // Replaces the file with contents in one piece and durably: after a crash
    // or a power cut the file holds either the old or the new contents.
    virtual QString replace(const QString &path, const QByteArray &contents) = 0;
    // Removes the file durably; a file that is not there is no failure.
    virtual QString remove(const QString &path) = 0;
};

// The real file system: a temporary file synced and renamed over the file,
// then the folder synced, so the rename itself survives a power cut.
std::shared_ptr<FileStore> diskStore();

// Keeps one file up to date without the caller ever waiting for the disk: the
// contents to write, or the file's removal, are handed to a thread of the
// writer's own, which carries out only the newest request. A request made
// while the disk is busy with an earlier one replaces any request still
// waiting, so a slow disk skips stale versions and never slows the caller;
// what is on disk is always a version the caller asked for, never a mix, and
// the last request made is always carried out.
//
// The destructor waits a few seconds for the last request, so that what the
// program asked for last is on disk when it ends; a disk that hangs longer is
// left to finish on its own.
class LatestFileWriter : public QObject
{
    Q_OBJECT
public:
    enum class Action
    {
        Write,
        Remove,
    };
    Q_ENUM(Action)
    static constexpr int EndWaitMs = 5000;

    explicit LatestFileWriter(const QString &path, std::shared_ptr<FileStore> store = diskStore(),
                              QObject *parent = nullptr);
    ~LatestFileWriter() override;

    QString path() const;

    // The file is to hold contents.
    void write(const QByteArray &contents);
    // The file is to be gone.
    void remove();
    // Waits until the last request has been carried out, at most timeoutMs;
    // whether it was. Never while a job runs: it waits for the disk.
    bool waitUntilDone(int timeoutMs);

signals:
    // A request was carried out (requests replaced before they started never
    // are): error is the system's reason, empty when it succeeded. Delivered
    // on the thread that made the writer.
    void finished(velmora::LatestFileWriter::Action action, const QString &error);

private:
    struct Shared;

    void request(Action action, const QByteArray &contents);

    std::shared_ptr<Shared> m_shared;
};

} // namespace velmora
