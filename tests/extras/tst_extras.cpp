#include "extras/extrasettingsdialog.h"
#include "tests/support/apprig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// velmora.ini: what the dialog keeps is read back at the next start, a file
// edited by hand is read as the README shows it, and a file that cannot be
// read or written costs one log line and nothing else.
class TestExtras : public QObject
{
    Q_OBJECT
private slots:
    void keptByTheDialog()
    {
        const QString command = u"curl -d \"text=%name, hole %hole; done\" https://ü.example/"_s;
        const QTemporaryDir dir;
        {
            AppRig rig({}, dir.path() + u'/');
            rig.app.window.mnuExtraSettings()->trigger();
            ExtraSettingsDialog *dialog = rig.app.window.extraSettingsDialog();
            QVERIFY(dialog->isVisible() && !dialog->isModal());
            dialog->entry(JobEvent::ControllerStop)->setText(u"  "_s + command);
            dialog->cmdExtraOK->click();
            QCOMPARE(rig.app.core.extras.values().command(JobEvent::ControllerStop), command);
        }
        AppRig rig({}, dir.path() + u'/');
        QCOMPARE(rig.app.core.extras.values().command(JobEvent::ControllerStop), command);
        rig.app.window.mnuExtraSettings()->trigger();
        QCOMPARE(rig.app.window.extraSettingsDialog()->entry(JobEvent::ControllerStop)->text(),
                 command);
    }

    void editedByHand()
    {
        const QTemporaryDir dir;
        QFile ini(dir.filePath(ExtraSettings::fileName()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[events]\n"
                  "completed=\"notify-send \\\"Roll done\\\" \\\"%name, hole %hole\\\"\"\n"
                  "port-lost=notify-send Port lost\n");
        ini.close();
        ExtraSettings extras(dir.path() + u'/', [](const QString &) {});
        extras.read();
        QCOMPARE(extras.values().command(JobEvent::Completed),
                 u"notify-send \"Roll done\" \"%name, hole %hole\""_s);
        QCOMPARE(extras.values().command(JobEvent::PortLost), u"notify-send Port lost"_s);
        QCOMPARE(extras.values().command(JobEvent::Stopped), QString());
    }

    // A folder stands where the file should be.
    void cannotBeReadOrWritten()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(ExtraSettings::fileName());
        QVERIFY(QDir().mkpath(path));
        QStringList log;
        ExtraSettings extras(dir.path() + u'/', [&](const QString &line) { log << line; });
        extras.read();
        ExtraValues values;
        for (const QString &command : {u"true"_s, u"false"_s}) {
            values.command(JobEvent::Stopped) = command;
            extras.setValues(values);
            extras.waitForWrites();
            QTest::qWait(10);
        }
        QCOMPARE(log, QStringList({u"Extra settings cannot be read (no access): "_s + path,
                                   u"Extra settings cannot be written (no access): "_s + path}));
        QCOMPARE(extras.values(), values);
    }
};

QTEST_MAIN(TestExtras)
#include "tst_extras.moc"
