#include "job/jobjournal.h"
#include "platform/latestfilewriter.h"
#include "tests/support/testhelpers.h"

#include <QHash>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// A disk in memory that is slow (each operation waits until the test lets
// one go) or fails every n-th operation.
struct FakeDisk final : FileStore
{
    FakeDisk(bool slow, int failEvery) : slow(slow), failEvery(failEvery) {}

    QString replace(const QString &path, const QByteArray &contents) override
    {
        return act(path, contents);
    }
    QString remove(const QString &path) override { return act(path, std::nullopt); }

    QString act(const QString &path, const std::optional<QByteArray> &contents)
    {
        // A caller that waited for the disk would hold up the test here.
        if (slow && !gate.tryAcquire(1, 10000))
            stuck = true;
        const std::lock_guard lock(mutex);
        if (failEvery && ++operations % failEvery == 0)
            return u"Input/output error"_s;
        contents ? void(files[path] = *contents) : void(files.remove(path));
        return {};
    }
    // The last hole of the first roll on disk now, 0 for none.
    int lastSent(const QString &path)
    {
        const std::lock_guard lock(mutex);
        const auto entries = journalEntries(files.value(path));
        return entries ? entries->first().lastSent : 0;
    }

    const bool slow;
    const int failEvery;
    QSemaphore gate;
    bool stuck = false;
    std::mutex mutex;
    QHash<QString, QByteArray> files;
    int operations = 0;
};

} // namespace

class TestJobJournal : public QObject
{
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("rolls"); // empty: not a journal
        const QByteArray old = "size 12\ntime 34\nsent 40\nroll /rolls/100%.prt\n";
        QTest::newRow("one roll, as ever") << old << QStringList{u"/rolls/100%.prt"_s};
        QTest::newRow("two rolls, names coded")
            << old + "size 5\ntime 6\nsent 7\nroll /a%25%0Ab%0D.prt\n"
            << QStringList{u"/rolls/100%.prt"_s, u"/a%\nb\r.prt"_s};
        QTest::newRow("no line end") << old.chopped(1) << QStringList();
        QTest::newRow("a roll cut short") << old + "size 5\n" << QStringList();
        QTest::newRow("no hole sent") << QByteArray(old).replace("40", "0") << QStringList();
    }

    void text()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, rolls);
        const auto entries = journalEntries(text);
        QCOMPARE(entries.has_value(), !rolls.isEmpty());
        if (!entries)
            return;
        QStringList paths;
        for (const JournalEntry &entry : *entries)
            paths << entry.roll.path;
        QCOMPARE(paths, rolls);
        QCOMPARE(journalEntries(journalText(*entries)), entries);
    }

    // Whatever a crash leaves on a slow or failing disk offers a hole at or
    // before the first hole not sent, never later, and never an older hole
    // after a newer one; the job never waits for the disk; stale versions are
    // skipped, and once the disk has caught up the job's end has removed it.
    void promise_data()
    {
        QTest::addColumn<bool>("slow");
        QTest::addColumn<int>("failEvery");
        QTest::newRow("slow") << true << 0;
        QTest::newRow("failing") << false << 1;
        QTest::newRow("slow and failing") << true << 1;
    }

    void promise()
    {
        QFETCH(bool, slow);
        QFETCH(int, failEvery);
        constexpr int Holes = 300;
        auto disk = std::make_shared<FakeDisk>(slow, failEvery);
        QStringList log;
        JobJournal journal(
            m_dir.path() + u'/', [&log](const QString &line) { log << line; }, disk);
        const QString path = journal.path();
        journal.rollLoaded(QString::fromUtf8(__FILE__), Holes);
        int onDisk = 0;
        for (int hole = 1; hole <= Holes; ++hole) {
            journal.holeSent(hole);
            if (hole % 10 == 0)
                disk->gate.release();
            const int now = disk->lastSent(path);
            QVERIFY2(now <= hole && now >= onDisk,
                     qPrintable(u"hole %1: %2 on disk after %3"_s.arg(hole).arg(now).arg(onDisk)));
            onDisk = now;
        }
        journal.jobEnded();
        disk->gate.release(Holes);
        QVERIFY(journal.waitUntilWritten(10000));
        QCoreApplication::processEvents();
        QVERIFY(!disk->stuck);
        QVERIFY(!slow || disk->operations < Holes / 2);
        QVERIFY(!disk->files.contains(path));
        // One line for the job, whether a write or the removal failed first.
        QCOMPARE(log.size(), failEvery);
        for (const QString &line : std::as_const(log)) {
            QVERIFY(line.startsWith(u"Roll journal cannot be "_s));
            QVERIFY(line.endsWith(u" (Input/output error): "_s + path));
        }
    }

    // Rolls whose job did not end stay across jobs on other rolls, a few at
    // most; a roll whose file is gone goes at the next start.
    void leftOvers()
    {
        QStringList log;
        const auto journal = [&] {
            return std::make_unique<JobJournal>(m_dir.path() + u'/',
                                                [&log](const QString &line) { log << line; });
        };
        QStringList rolls;
        for (int i = 1; i <= JobJournal::MaxEntries + 1; ++i) {
            rolls << m_dir.filePath(u"roll%1.prt"_s.arg(i));
            QVERIFY(writeFile(rolls.last(), "holes"));
        }
        {
            auto first = journal();
            for (int i = 0; i <= JobJournal::MaxEntries; ++i) {
                first->rollLoaded(rolls[i], 100);
                first->holeSent(10 + i); // a job on each roll, none ended
            }
            first->rollLoaded(rolls[2], 100);
            first->holeSent(30);
            first->jobEnded(); // roll 3 punched to its end
        }
        QCOMPARE(log, (QStringList{u"Unfinished roll dropped (the journal keeps 4), not continued "
                                   "at note 11: "_s +
                                       rolls[0],
                                   u"Continuing the unfinished roll at note 13"_s}));
        log.clear();
        QVERIFY(QFile::remove(rolls[1]));
        auto next = journal();
        next->readLeftOver();
        QCOMPARE(log,
                 (QStringList{u"Unfinished roll found: %1, continue at note 15"_s.arg(rolls[4]),
                              u"Unfinished roll found: %1, continue at note 14"_s.arg(rolls[3]),
                              u"Unfinished roll gone, not continued at note 12: "_s + rolls[1]}));
        QCOMPARE(next->rollLoaded(rolls[3], 100), 14);
        QVERIFY(next->waitUntilWritten(10000));
        QCOMPARE(journalEntries(readFile(next->path()))->size(), 2);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestJobJournal)
#include "tst_jobjournal.moc"
