#include "history/historycsv.h"
#include "history/historywindow.h"
#include "tests/support/apprig.h"

#include <QBuffer>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QByteArray historyCsv(const QString &dir, int status = 0)
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    [&] { QCOMPARE(printHistory(dir, out, err), status); }();
    return status == 0 ? out.data() : err.data();
}

} // namespace

// The jobs of a run in history.sqlite, seen in the history window, in its CSV
// export and in velmora --history; a damaged file kept aside.
class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(QFile::copy(samplePath("koraal-52.prt"), roll())); }
    void cleanup()
    {
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(name));
    }

    // A completed job, a stopped one, and one the program's end cut off while
    // the command of its lost port hung: the job went on all the same.
    void jobsOfARun()
    {
        {
            AppRig rig(Adapter, dir());
            AppCore &core = rig.app.core;
            ExtraValues values;
            values.command(JobEvent::PortLost) = u"sleep 600"_s;
            core.extras.setValues(values);
            rig.open(roll());
            rig.punch();
            rig.punch(11);
            core.job.requestStop();
            core.job.confirmStop();

            rig.punch(6);
            rig.port.vanish();
            QCOMPARE(core.events.running(), 1);
            core.portController.openPort();
            core.job.resume();
            rig.run(21);
            core.job.pause();
            while (core.job.punching() && rig.clock.runNext()) {
            }
            rig.clock.advance(EventRunner::LimitMs);
            QTRY_VERIFY(core.log.text().contains(
                u"Event command for port-lost ran longer than 60 s and was ended: sleep\r\n"_s));
            QVERIFY(core.job.jobRunning());
            QCOMPARE(rig.port.writes().size(), 136 + 10 + 20);
        }

        // The next start closes the unfinished job as interrupted. The window
        // lists the jobs newest first, velmora --history and the window's
        // export oldest first.
        AppRig rig(Adapter, dir());
        HistoryWindow *window = rig.app.window.historyWindow();
        rig.app.window.mnuHistory()->trigger();
        QTRY_COMPARE(window->tblHistory->model()->rowCount(), 3);
        const QAbstractItemModel *table = window->tblHistory->model();
        QCOMPARE(table->index(0, 9).data().toString(), u"interrupted"_s);
        QCOMPARE(table->index(2, 9).data().toString(), u"completed"_s);
        const QStringList jobs = {u"136,1,136,136,27,completed"_s, u"136,1,10,10,*,stopped"_s,
                                  u"136,1,20,20,*,interrupted"_s};
        const QByteArray csv = historyCsv(dir());
        const QStringList lines = QString::fromUtf8(csv).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 1 + jobs.size() + 1);
        QCOMPARE(lines.first(), u"started,ended,roll,name,holes,first,last,sent,seconds,outcome"_s);
        const QString time = u"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d"_s;
        const QString name = u"Koraal Nun danket alle Gott (Crüger)"_s;
        for (int i = 0; i < jobs.size(); ++i) {
            const QString pattern = QRegularExpression::escape(
                u",\"%1\",%2,%3"_s.arg(QString(roll()).replace(u'"', u"\"\""_s), name, jobs[i]));
            const QRegularExpression row(u"^%1,%1"_s.arg(time) +
                                         QString(pattern).replace(u"\\*"_s, u"\\d+"_s) + u'$');
            QVERIFY2(row.match(lines[i + 1]).hasMatch(), qPrintable(lines[i + 1]));
        }

        window->cmdExportCsv->click();
        auto *dialog = window->findChild<QFileDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        const QString exported = m_dir.filePath(u"export.csv"_s);
        dialog->selectFile(exported);
        static_cast<QDialog *>(dialog)->accept();
        QTRY_COMPARE(window->lblExport->text(), u"Exported to "_s + exported);
        QCOMPARE(readFile(exported), csv);
    }

    void damagedFile()
    {
        const QByteArray junk(4096, 'x');
        QVERIFY(writeFile(m_dir.filePath(u"history.sqlite"_s), junk));
        QVERIFY(historyCsv(dir(), 1).startsWith(
            "velmora: the job history cannot be read (file is not a database): "));
        {
            AppRig rig(Adapter, dir());
            QTRY_VERIFY(rig.app.core.log.text().contains(
                u"Job history cannot be read (file is not a database), kept aside as "
                "history-damaged-"_s));
            QCOMPARE(rig.app.core.log.text().count(u"Job history"_s), 1);
            rig.open(roll());
            rig.punch();
        }
        const QStringList aside = QDir(dir()).entryList({u"history-damaged-*.sqlite"_s});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readFile(m_dir.filePath(aside.first())), junk);
        QVERIFY(historyCsv(dir()).endsWith(",completed\r\n"));
    }

    // velmora --history runs without a display.
    void historyCommand()
    {
        QProcess velmora;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            env.remove(name);
        velmora.setProcessEnvironment(env);
        velmora.start(QStringLiteral(VELMORA_PROGRAM), {u"--history"_s});
        QVERIFY(velmora.waitForFinished(20000));
        QCOMPARE(velmora.exitStatus(), QProcess::NormalExit);
        QCOMPARE(velmora.exitCode(), 0);
        QVERIFY(velmora.readAllStandardOutput().startsWith(
            "started,ended,roll,name,holes,first,last,sent,seconds,outcome\r\n"));
    }

private:
    QString dir() const { return m_dir.path() + u'/'; }
    QString roll() const { return m_dir.filePath(u"roll, \"one\".prt"_s); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
