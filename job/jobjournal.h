#pragma once

#include "platform/latestfilewriter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
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

// One roll in the journal: the roll and its last hole sent.
struct JournalEntry
{
    RollIdentity roll;
    int lastSent = 0;

    int continueAt() const { return lastSent + 1; }
    bool operator==(const JournalEntry &) const = default;
};

// The journal's text: per roll four lines, "size 1234", "time 1700000000000",
// "sent 40" and "roll /rolls/wals.prt", the newest roll first. In the path "%",
// CR and LF are written as %25, %0D and %0A, so any file name survives. A
// journal of one roll is the text the journal has always had.
QByteArray journalText(const QList<JournalEntry> &entries);
// Nothing for a text that is not a whole journal.
std::optional<QList<JournalEntry>> journalEntries(const QByteArray &text);

// The journal of the punch jobs, "velmora.journal" in the settings folder, so
// that a crash or a power cut does not lose the operator's place in a roll.
// It holds one entry per roll whose job did not end, a few at most: a running
// job's entry is brought up to date after every hole sent and goes when the
// job ends; the entries of other rolls stay until their roll is punched again
// or its file is gone. A roll found at start-up, opened again unchanged, puts
// its hole up as the next note, and the operator starts and resumes as always.
//
// The file is written by a LatestFileWriter, so a job never waits for the
// disk: a slow disk makes the hole offered after a crash a few holes earlier,
// never later than the first hole not sent.
//
// A journal that cannot be written, read or removed costs one log line naming
// the reason and the path, once per job; punching goes on.
class JobJournal
{
public:
    static QString fileName() { return QStringLiteral("velmora.journal"); }
    static constexpr int MaxEntries = 4;

    JobJournal(const QString &settingsDir, std::function<void(const QString &)> writeLog,
               std::shared_ptr<FileStore> store = diskStore());

    QString path() const { return m_writer.path(); }

    // Start-up: looks for the rolls of jobs that did not end; those whose file
    // is gone are dropped, with a log line.
    void readLeftOver();

    // A roll was loaded: it is the roll the next job punches. Returns the hole
    // to continue from when the journal holds this very roll, unchanged, with a
    // log line; 0 otherwise, with a log line saying why when the journal holds
    // a roll of this path.
    int rollLoaded(const QString &path, int holeCount);
    // A hole of the running job went out.
    void holeSent(int hole);
    // The job ended: its entry goes. A job that sent nothing leaves the entry
    // of its roll in place.
    void jobEnded();

    // Waits until what the journal holds is on disk, at most timeoutMs.
    bool waitUntilWritten(int timeoutMs) { return m_writer.waitUntilDone(timeoutMs); }

private:
    qsizetype indexOf(const QString &path) const;
    void store();
    void logFailure(const QString &what, const QString &reason);
    void logNotContinued(const JournalEntry &entry, const QString &why,
                         const QString &detail = QString());

    std::function<void(const QString &)> m_writeLog;
    LatestFileWriter m_writer;
    QList<JournalEntry> m_entries; // the rolls the journal holds, the newest first
    RollIdentity m_roll;
    bool m_jobEntry = false;      // the running job has its entry in m_entries
    bool m_failureLogged = false; // one line per job for a failing disk
};

} // namespace velmora
