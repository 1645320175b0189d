#include "extras/extrasettingsdialog.h"
#include "job/jobcontrolspanel.h"
#include "remote/remotepanel.h"
#include "settings/settingspanel.h"
#include "tests/support/apprig.h"
#include "widgetkit/lamp.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// The lines of holes first on, as the port gets them.
QList<QByteArray> composed(const AppCore &core, int first)
{
    QList<QByteArray> lines;
    for (int hole = first; hole <= core.holes.holeCount(); ++hole)
        lines << core.composer.composeHoleCommand(hole).text.toLatin1() + '\r';
    return lines;
}

} // namespace

// The job in the whole program: a click reaching it and the window following
// (which controls each state enables is the job's own test); its journal
// across a crash (the program dropped mid-job and made anew on the same
// settings folder); the notes of a job that halts on its own, and what the
// remote view tells of it; and a roll file or settings folder failing under
// a job.
class TestRecovery : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(QFile::copy(samplePath("koraal-52.prt"), roll())); }
    void cleanup() { QFile::remove(roll()); }

    void buttonsFollowTheJob()
    {
        AppRig rig(Adapter);
        MainWindow &w = rig.app.window;
        JobControlsPanel *c = w.controlsPanel();
        w.show();

        rig.open(samplePath("wals-in-g-45.prt"));
        rig.port.setCts(true);
        c->cmdOpenport->click();
        QVERIFY(c->cmdStart->isEnabled() && !c->cmdResume->isEnabled());
        rig.port.receive("\x11"); // Xon: the Xon lamps light
        QVERIFY(c->shpXonc->color() != QColor(150, 150, 150));

        // Start greys the flow lamps.
        c->cmdStart->click();
        QVERIFY(c->cmdResume->isEnabled() && !c->cmdExit->isEnabled() && !w.mnuSet()->isEnabled());
        const SettingsPanel *settings = w.settingsPanel();
        for (const Lamp *lamp : {settings->shpXon, c->shpXonc, settings->shpXoff, c->shpXoffc})
            QCOMPARE(lamp->color(), QColor(150, 150, 150));

        c->cmdResume->click();
        rig.clock.advance(200);
        QCOMPARE(rig.port.writes().size(), 1);
        QCOMPARE(c->txtNextNote->text(), u" 2"_s);
        QCOMPARE(remoteStatusOf(rig.app.core).state, RemoteStatus::State::Punching);

        c->cmdStop->click();
        QVERIFY(!c->picStop->isHidden() && !c->cmdResume->isEnabled());
        rig.clock.advance(200);
        QCOMPARE(remoteStatusOf(rig.app.core).state, RemoteStatus::State::Paused);
        c->cmdStopYes->click();
        QVERIFY(c->picStop->isHidden() && c->cmdExit->isEnabled() && w.mnuSet()->isEnabled());
        QCOMPARE(c->lblRemain->text(), u"Punching stopped"_s);
        const RemoteStatus remote = remoteStatusOf(rig.app.core);
        QCOMPARE(remote.state, RemoteStatus::State::Idle);
        QCOMPARE(remote.outcome, RemoteStatus::Outcome::Stopped);
        QCOMPARE(remote.remaining, c->lblRemain->text());
        QVERIFY(w.close() && !w.isVisible());
    }

    void continueAfterCrash_data()
    {
        QTest::addColumn<QString>("reopened"); // "": the roll as it was
        QTest::addColumn<QString>("shown");
        QTest::newRow("the same roll") << QString() << u" 41"_s;
        QTest::newRow("the same roll, after a job on another") << u"other job"_s << u" 41"_s;
        QTest::newRow("the roll replaced since") << u"replaced"_s << u"1"_s;
        QTest::newRow("another roll") << samplePath("wals-in-g-45.prt") << u"1"_s;
    }

    void continueAfterCrash()
    {
        QFETCH(QString, reopened);
        QFETCH(QString, shown);
        {
            AppRig crashed(Adapter, m_dir.path() + u'/');
            crashed.open(roll());
            crashed.punch(41);
        }
        if (reopened == u"replaced"_s) {
            QVERIFY(QFile::remove(roll()) &&
                    QFile::copy(samplePath("mars-headers-last.prt"), roll()));
            reopened.clear();
        }

        AppRig rig(Adapter, m_dir.path() + u'/');
        const QString &log = rig.app.core.log.text();
        QVERIFY(log.contains(u"Unfinished roll found: %1, continue at note 41\r\n"_s.arg(roll())));
        if (reopened == u"other job"_s) {
            // A whole job on another roll leaves the unfinished one in the journal.
            rig.open(samplePath("wals-in-g-45.prt"));
            rig.punch();
            reopened.clear();
        }
        const qsizetype sent = rig.port.writes().size();
        rig.open(reopened.isEmpty() ? roll() : reopened);
        QCOMPARE(rig.app.window.controlsPanel()->txtNextNote->text(), shown);
        QCOMPARE(log.contains(u"Continuing the unfinished roll at note 41\r\n"_s),
                 shown == u" 41"_s);
        // The roll at the journal's path changed: the log says so.
        QCOMPARE(log.contains(
                     u"Unfinished roll changed, not continued at note 41: %1 (size "_s.arg(roll())),
                 shown != u" 41"_s && reopened.isEmpty());
        QCOMPARE(rig.port.writes().size(), sent);
        if (shown != u" 41"_s)
            return;

        // Start and Resume punch the rest; the job's end removes the journal.
        const QList<QByteArray> rest = composed(rig.app.core, 41);
        rig.punch();
        QCOMPARE(rig.port.writes().mid(sent), rest);
        const QProgressBar *bar = rig.app.window.controlsPanel()->prgPunched;
        QCOMPARE(QList<int>({bar->value(), bar->maximum()}), QList<int>({96, 96}));
        QVERIFY(rig.app.core.journal.waitUntilWritten(10000));
        QVERIFY(!QFile::exists(journal()));
    }

    // The roll file deleted or replaced after opening changes nothing that is
    // punched: the holes were read into memory.
    void halts_data()
    {
        QTest::addColumn<QByteArray>("event"); // after hole 10: received bytes, or "vanish"
        QTest::addColumn<QString>("file");     // what becomes of the roll file
        QTest::addColumn<QString>("note");
        QTest::addColumn<RemoteStatus::Outcome>("outcome"); // as the remote view tells it
        const QString completed =
            u"Roll completed: Punching is completed, all notes punched, last note punched: 136"_s;
        using Outcome = RemoteStatus::Outcome;
        QTest::newRow("completed, file deleted")
            << QByteArray() << u"deleted"_s << completed << Outcome::Completed;
        QTest::newRow("completed, file replaced")
            << QByteArray() << samplePath("wals-in-g-45.prt") << completed << Outcome::Completed;
        QTest::newRow("controller stop")
            << "stop\r"_ba << QString()
            << u"Punching stopped: Stop command received from punch, last note punched: 10"_s
            << Outcome::ControllerStop;
        QTest::newRow("port lost, the journal kept")
            << "vanish"_ba << QString()
            << u"Punching paused: Port lost, punching paused, next note: 11"_s << Outcome::None;
    }

    void halts()
    {
        QFETCH(QByteArray, event);
        QFETCH(QString, file);
        QFETCH(QString, note);
        AppRig rig(Adapter, m_dir.path() + u'/');
        rig.open(roll());
        const QList<QByteArray> lines = composed(rig.app.core, 1);
        if (!file.isEmpty())
            QVERIFY(QFile::remove(roll()) && (file == u"deleted"_s || QFile::copy(file, roll())));
        rig.punch(event.isEmpty() ? 0 : 11);
        if (event == "vanish")
            rig.port.vanish();
        else if (!event.isEmpty())
            QVERIFY(rig.port.receive(event));
        QCOMPARE(rig.port.writes(), lines.first(event.isEmpty() ? 136 : 10));
        QCOMPARE(rig.notifier.notes, QStringList{note});
        QVERIFY(rig.app.core.journal.waitUntilWritten(10000));
        QCOMPARE(QFile::exists(journal()), event == "vanish");

        QFETCH(RemoteStatus::Outcome, outcome);
        const AppCore &core = rig.app.core;
        const RemoteStatus remote = remoteStatusOf(core);
        QCOMPARE(remote.outcome, outcome);
        QCOMPARE(remote.state,
                 event == "vanish" ? RemoteStatus::State::Paused : RemoteStatus::State::Idle);
        QCOMPARE(remote.sent, event.isEmpty() ? 136 : 10);
        QCOMPARE(remote.roll->path, roll());
        QCOMPARE(remote.roll->holes, 136);
        QStringList logLines = core.log.text().split(u"\r\n"_s);
        logLines.removeLast();
        QCOMPARE(remote.log, logLines.mid(logLines.size() - 20));
    }

    // The remote view: off at start; its panel in the extra settings turns it
    // on and off and shows the address; a port it cannot use is said in the
    // log, and tried again.
    void remoteView()
    {
        AppRig rig;
        RemoteView &view = rig.app.core.remote;
        QVERIFY(!view.listening());
        QCOMPARE(rollPictureOf(rig.app.core).shapes.size(), 1u); // the centre line alone
        view.apply({false, 0, {}});                              // any free port
        RemotePanel &panel = *rig.app.window.extraSettingsDialog()->remotePanel();
        panel.chkRemote->click();
        const QString address = view.pageAddresses().value(0);
        QVERIFY(view.listening() && address.contains(u"?token="_s + view.settings().token));
        QVERIFY(panel.lblRemoteAddress->text().contains(u"<a href=\"%1\">"_s.arg(address)));
        QVERIFY(panel.picRemoteQr->matrix().size >= 21);
        panel.cmdRemoteToken->click();
        QVERIFY(!panel.lblRemoteAddress->text().contains(address));
        panel.chkRemote->click();
        QVERIFY(!view.listening() && panel.lblRemoteAddress->isHidden());

        QTcpServer holder;
        QVERIFY(holder.listen());
        view.apply({true, holder.serverPort(), {}});
        QVERIFY(!view.listening() && view.statusText().contains(u"could not listen"_s));
        QVERIFY(rig.app.core.log.text().endsWith(view.statusText() + u"\r\n"_s));
        holder.close();
        view.apply(view.settings());
        QVERIFY(view.listening());
        rig.open(samplePath("koraal-52.prt"));
        QVERIFY(rollPictureOf(rig.app.core).shapes.size() > 10);
    }

    // The roll file stands where the settings folder should be: nothing can
    // be made in it, not even by root.
    void blockedSettingsFolder()
    {
        AppRig rig(Adapter, roll() + u'/');
        MainWindow &w = rig.app.window;
        w.show();
        const QString &log = rig.app.core.log.text();
        QVERIFY(log.startsWith(u"Settings file cannot be created ("_s));
        QVERIFY(log.endsWith(u"): "_s + roll() + u"/##vpar.prm\r\n"_s));
        QCOMPARE(rig.app.core.formats.selectedFormat(), 1);

        rig.open(roll());
        rig.punch();
        QCOMPARE(rig.port.writes().size(), 136);
        QTRY_COMPARE(log.count(u"Roll journal cannot be written ("_s), 1);

        // Exit keeps the window open once, with the choice kept.
        rig.app.core.portController.chooseBaud(5);
        w.controlsPanel()->cmdExit->click();
        QVERIFY(w.isVisible());
        QCOMPARE(log.count(u"Settings file cannot be written ("_s), 1);
        QCOMPARE(rig.app.core.portController.choices().baud, 5);
        w.controlsPanel()->cmdExit->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(log.count(u"Settings file cannot be written ("_s), 2);
    }

private:
    QString roll() const { return m_dir.filePath(u"roll.prt"_s); }
    QString journal() const { return m_dir.filePath(JobJournal::fileName()); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
