#include "job/jobjournal.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

RollIdentity RollIdentity::of(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.exists() ? info.size() : -1,
            info.lastModified().toMSecsSinceEpoch()};
}

// Three numbers, then the path to the end of the text, so that any file name
// survives: "size 1234\ntime 1700000000000\nsent 40\nroll /rolls/wals.prt\n".
QByteArray JournalEntry::toText() const
{
    return "size " + QByteArray::number(roll.size) + "\ntime " +
           QByteArray::number(roll.modifiedMs) + "\nsent " + QByteArray::number(lastSent) +
           "\nroll " + roll.path.toUtf8() + '\n';
}

std::optional<JournalEntry> JournalEntry::fromText(const QByteArray &text)
{
    const qsizetype rollAt = text.indexOf("\nroll ");
    const QList<QByteArray> lines = text.left(rollAt).split('\n');
    if (rollAt < 0 || !text.endsWith('\n') || lines.size() != 3)
        return std::nullopt;
    qint64 numbers[3] = {};
    const char *const keys[3] = {"size ", "time ", "sent "};
    for (int i = 0; i < 3; ++i) {
        bool ok = lines[i].startsWith(keys[i]);
        if (ok)
            numbers[i] = lines[i].mid(5).toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QString path = QString::fromUtf8(text.sliced(rollAt + 6).chopped(1));
    // The hole after the last one sent must be a hole number too.
    if (path.isEmpty() || numbers[0] < 0 || numbers[2] < 1 ||
        numbers[2] >= std::numeric_limits<int>::max())
        return std::nullopt;
    return JournalEntry{{path, numbers[0], numbers[1]}, int(numbers[2])};
}

JobJournal::JobJournal(const QString &settingsDir, std::function<void(const QString &)> writeLog)
    : m_path(settingsDir + fileName()), m_writeLog(std::move(writeLog))
{}

void JobJournal::readLeftOver()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        logFailure(u"read"_s, file.errorString());
        return;
    }
    m_leftOver = JournalEntry::fromText(file.read(64 * 1024));
    if (!m_leftOver) {
        logFailure(u"read"_s, u"no roll and note in it"_s);
        return;
    }
    m_writeLog(u"Unfinished roll found: %1, continue at note %2"_s.arg(m_leftOver->roll.path)
                   .arg(m_leftOver->continueAt()));
}

int JobJournal::rollLoaded(const QString &path, int holeCount)
{
    m_roll = RollIdentity::of(path);
    if (!m_leftOver || m_leftOver->roll != m_roll || m_leftOver->continueAt() > holeCount)
        return 0;
    const int hole = m_leftOver->continueAt();
    m_writeLog(u"Continuing the unfinished roll at note %1"_s.arg(hole));
    return hole;
}

void JobJournal::holeSent(int hole)
{
    if (!write({m_roll, hole}))
        return;
    m_written = true;
    // The journal on disk is this job's now.
    m_leftOver.reset();
}

void JobJournal::jobEnded()
{
    if (m_written) {
        QFile file(m_path);
        if (!file.remove() && file.exists())
            logFailure(u"removed"_s, file.errorString());
    }
    m_written = false;
    m_failureLogged = false;
}

bool JobJournal::write(const JournalEntry &entry)
{
    const QByteArray text = entry.toText();
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    // Once per job: the same failure after every hole would bury the log.
    if (!std::exchange(m_failureLogged, true))
        logFailure(u"written"_s, file.errorString());
    return false;
}

void JobJournal::logFailure(const QString &what, const QString &reason)
{
    m_writeLog(u"Roll journal cannot be %1 (%2): %3"_s.arg(what, reason, m_path));
}

} // namespace velmora
