#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace velmora {

// A roll file as it was when it was read: its path, size and modification
// time. A file of that path that was changed since is another roll.
struct RollIdentity
{
    QString path;
    qint64 size = -1;
    qint64 modifiedMs = 0; // milliseconds since the epoch, UTC

    static RollIdentity of(const QString &path);
    bool operator==(const RollIdentity &) const = default;
};

// What the journal holds: the roll of the job and its last hole sent.
struct JournalEntry
{
    RollIdentity roll;
    int lastSent = 0;

    int continueAt() const { return lastSent + 1; }
    QByteArray toText() const;
    // Nothing for a text that is not a whole journal.
    static std::optional<JournalEntry> fromText(const QByteArray &text);
    bool operator==(const JournalEntry &) const = default;
};

// The journal of a running job, "velmora.journal" in the settings folder, so
// that a crash or a power cut does not lose the operator's place in the roll.
// It is replaced as a whole after every hole sent and removed when the job
// ends. A journal found at start-up names the roll and the hole to continue
// from; opening that very roll again puts that hole up as the next note, and
// the operator starts and resumes as always.
//
// A journal that cannot be written, read or removed costs one log line naming
// the reason and the path; punching goes on.
class JobJournal
{
public:
    static QString fileName() { return QStringLiteral("velmora.journal"); }

    JobJournal(const QString &settingsDir, std::function<void(const QString &)> writeLog);

    QString path() const { return m_path; }

    // Start-up: looks for the journal of a job that did not end.
    void readLeftOver();
    const std::optional<JournalEntry> &leftOver() const { return m_leftOver; }

    // A roll was loaded: it is the roll the next job punches. Returns the hole
    // to continue from when it is the unfinished roll of the journal found at
    // start-up, with a log line; 0 otherwise.
    int rollLoaded(const QString &path, int holeCount);
    // A hole of the running job went out.
    void holeSent(int hole);
    // The job ended: the journal it wrote goes. A job that sent nothing leaves
    // a journal found at start-up in place.
    void jobEnded();

private:
    bool write(const JournalEntry &entry);
    void logFailure(const QString &what, const QString &reason);

    QString m_path;
    std::function<void(const QString &)> m_writeLog;
    std::optional<JournalEntry> m_leftOver;
    RollIdentity m_roll;
    bool m_written = false;       // this job's journal is on disk
    bool m_failureLogged = false; // one line per job for failed writes
};

} // namespace velmora
