#include "job/jobjournal.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// "%", CR and LF of a path as %25, %0D and %0A; any other "%" is read as it
// stands, as the journal of a single roll always had it.
QByteArray encodedPath(const QString &path)
{
    return path.toUtf8().replace('%', "%25").replace('\r', "%0D").replace('\n', "%0A");
}

QString decodedPath(const QByteArray &text)
{
    QByteArray path;
    path.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QByteArray code = text.mid(i + 1, 2).toUpper();
        if (text[i] == '%' && (code == "25" || code == "0D" || code == "0A")) {
            path += code == "25" ? '%' : code == "0D" ? '\r' : '\n';
            i += 2;
        } else {
            path += text[i];
        }
    }
    return QString::fromUtf8(path);
}

QString timeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(u"yyyy-MM-dd hh:mm:ss"_s);
}

} // namespace

RollIdentity RollIdentity::of(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.exists() ? info.size() : -1,
            info.lastModified().toMSecsSinceEpoch()};
}

QByteArray journalText(const QList<JournalEntry> &entries)
{
    QByteArray text;
    for (const JournalEntry &entry : entries) {
        text += "size " + QByteArray::number(entry.roll.size) + "\ntime " +
                QByteArray::number(entry.roll.modifiedMs) + "\nsent " +
                QByteArray::number(entry.lastSent) + "\nroll " + encodedPath(entry.roll.path) +
                '\n';
    }
    return text;
}

std::optional<QList<JournalEntry>> journalEntries(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    // The text ends with a line end: the last piece is empty.
    if (lines.takeLast().size() != 0 || lines.isEmpty() || lines.size() % 4 != 0)
        return std::nullopt;
    QList<JournalEntry> entries;
    const char *const keys[4] = {"size ", "time ", "sent ", "roll "};
    for (qsizetype at = 0; at < lines.size(); at += 4) {
        qint64 numbers[3] = {};
        for (int i = 0; i < 4; ++i) {
            bool ok = lines[at + i].startsWith(keys[i]);
            if (ok && i < 3)
                numbers[i] = lines[at + i].mid(5).toLongLong(&ok);
            if (!ok)
                return std::nullopt;
        }
        const QString path = decodedPath(lines[at + 3].mid(5));
        // The hole after the last one sent must be a hole number too.
        if (path.isEmpty() || numbers[0] < 0 || numbers[2] < 1 ||
            numbers[2] >= std::numeric_limits<int>::max())
            return std::nullopt;
        entries.append({{path, numbers[0], numbers[1]}, int(numbers[2])});
    }
    return entries;
}

JobJournal::JobJournal(const QString &settingsDir, std::function<void(const QString &)> writeLog,
                       std::shared_ptr<FileStore> store)
    : m_writeLog(std::move(writeLog)), m_writer(settingsDir + fileName(), std::move(store))
{
    // Reports come between the job's steps, on this thread.
    QObject::connect(&m_writer, &LatestFileWriter::finished, &m_writer,
                     [this](LatestFileWriter::Action action, const QString &error) {
                         if (!error.isEmpty() && !std::exchange(m_failureLogged, true))
                             logFailure(action == LatestFileWriter::Action::Write ? u"written"_s
                                                                                  : u"removed"_s,
                                        error);
                     });
}

void JobJournal::readLeftOver()
{
    QFile file(path());
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        logFailure(u"read"_s, file.errorString());
        return;
    }
    const std::optional<QList<JournalEntry>> found = journalEntries(file.read(64 * 1024));
    if (!found) {
        logFailure(u"read"_s, u"no roll and note in it"_s);
        return;
    }
    for (const JournalEntry &entry : *found) {
        if (!QFileInfo::exists(entry.roll.path)) {
            logNotContinued(entry, u"gone"_s);
        } else if (m_entries.size() < MaxEntries && indexOf(entry.roll.path) < 0) {
            m_entries.append(entry);
            m_writeLog(u"Unfinished roll found: %1, continue at note %2"_s.arg(
                entry.roll.path, QString::number(entry.continueAt())));
        }
    }
    if (m_entries.size() != found->size())
        store();
}

int JobJournal::rollLoaded(const QString &path, int holeCount)
{
    m_roll = RollIdentity::of(path);
    const qsizetype at = indexOf(m_roll.path);
    if (at < 0)
        return 0;
    const JournalEntry &entry = m_entries[at];
    const RollIdentity &was = entry.roll;
    if (was != m_roll) {
        QStringList changes;
        if (m_roll.size != was.size)
            changes << u"size %1, was %2"_s.arg(m_roll.size).arg(was.size);
        if (m_roll.modifiedMs != was.modifiedMs)
            changes << u"modified %1, was %2"_s.arg(timeText(m_roll.modifiedMs),
                                                    timeText(was.modifiedMs));
        logNotContinued(entry, u"changed"_s, u" ("_s + changes.join(u"; "_s) + u')');
        return 0;
    }
    if (entry.continueAt() > holeCount) {
        logNotContinued(entry, u"too short"_s, u" (%1 notes)"_s.arg(holeCount));
        return 0;
    }
    m_writeLog(u"Continuing the unfinished roll at note %1"_s.arg(entry.continueAt()));
    return entry.continueAt();
}

void JobJournal::holeSent(int hole)
{
    if (const qsizetype at = indexOf(m_roll.path); at >= 0)
        m_entries.removeAt(at);
    m_entries.prepend({m_roll, hole});
    while (m_entries.size() > MaxEntries)
        logNotContinued(m_entries.takeLast(), u"dropped (the journal keeps %1)"_s.arg(MaxEntries));
    // A new job logs a failing disk anew.
    if (!std::exchange(m_jobEntry, true))
        m_failureLogged = false;
    store();
}

void JobJournal::jobEnded()
{
    if (!std::exchange(m_jobEntry, false))
        return;
    if (const qsizetype at = indexOf(m_roll.path); at >= 0)
        m_entries.removeAt(at);
    store();
}

qsizetype JobJournal::indexOf(const QString &path) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].roll.path == path)
            return i;
    }
    return -1;
}

void JobJournal::store()
{
    if (m_entries.isEmpty())
        m_writer.remove();
    else
        m_writer.write(journalText(m_entries));
}

void JobJournal::logFailure(const QString &what, const QString &reason)
{
    m_writeLog(u"Roll journal cannot be %1 (%2): %3"_s.arg(what, reason, path()));
}

void JobJournal::logNotContinued(const JournalEntry &entry, const QString &why,
                                 const QString &detail)
{
    m_writeLog(u"Unfinished roll %1, not continued at note %2: %3%4"_s.arg(
        why, QString::number(entry.continueAt()), entry.roll.path, detail));
}

} // namespace velmora
