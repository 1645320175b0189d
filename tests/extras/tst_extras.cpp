#include "extras/extrasettingsdialog.h"
#include "remote/remotepanel.h"
#include "tests/support/apprig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::ExtraValues)

// velmora.ini: what the dialog keeps is read back at the next start, a file
// edited by hand is read as the README shows it, a value that cannot be used
// and a file that cannot be read or written cost one log line and nothing
// else.
class TestExtras : public QObject
{
    Q_OBJECT
private slots:
    // An event command, the language, and the remote view turned on with the
    // token it made (OK for the commands leaves it so), serving with it from
    // the next start on.
    void keptByTheDialog()
    {
        const QString command = u"curl -d \"text=%name, hole %hole; done\" https://ü.example/"_s;
        const QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QTcpServer probe;
        QVERIFY(probe.listen());
        const quint16 port = probe.serverPort();
        probe.close();
        QString token;
        {
            AppRig rig({}, folder);
            rig.app.window.mnuExtraSettings()->trigger();
            ExtraSettingsDialog *dialog = rig.app.window.extraSettingsDialog();
            QVERIFY(dialog->isVisible() && !dialog->isModal());
            dialog->entry(JobEvent::ControllerStop)->setText(u"  "_s + command);
            dialog->cboLanguage->setCurrentIndex(int(UiLanguage::Dutch));
            RemotePanel *panel = dialog->remotePanel();
            panel->spnRemotePort->setValue(port);
            emit panel->spnRemotePort->editingFinished();
            panel->chkRemote->click();
            dialog->cmdExtraOK->click();
            QCOMPARE(rig.app.core.extras.values().command(JobEvent::ControllerStop), command);
            rig.app.core.extras.waitForWrites();
            const QSettings ini(folder + ExtraSettings::fileName(), QSettings::IniFormat);
            QCOMPARE(ini.value(u"remote/enabled"_s).toString(), u"true"_s);
            QCOMPARE(ini.value(u"remote/port"_s).toInt(), port);
            token = ini.value(u"remote/token"_s).toString();
            QVERIFY(QRegularExpression(u"^[0-9a-f]{32}$"_s).match(token).hasMatch());
        }
        QCOMPARE(ExtraSettings::readLanguage(folder), UiLanguage::Dutch);
        AppRig rig({}, folder);
        QCOMPARE(rig.app.core.extras.values().command(JobEvent::ControllerStop), command);
        rig.app.window.mnuExtraSettings()->trigger();
        QCOMPARE(rig.app.window.extraSettingsDialog()->entry(JobEvent::ControllerStop)->text(),
                 command);
        QVERIFY(rig.app.core.remote.listening());
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        client.write("GET /status?token=" + token.toLatin1() + " HTTP/1.1\r\nHost: x\r\n\r\n");
        QByteArray answer;
        QVERIFY(QTest::qWaitFor([&] { return (answer += client.readAll()).contains("\r\n"); }));
        QVERIFY2(answer.startsWith("HTTP/1.1 200 "), answer.constData());
    }

    // velmora.ini edited by hand, quoted as the README shows: what cannot be
    // used is said in one line and its default taken; the window's language
    // is read alone the same way.
    void byHand_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<ExtraValues>("values");
        QTest::addColumn<QString>("problem"); // the one log line, empty for none
        const auto row = [](const char *name, const QByteArray &ini, const ExtraValues &values,
                            const QString &problem = {}) {
            QTest::newRow(name) << ini << values << problem;
        };
        const auto remote = [](const RemoteSettings &settings) {
            ExtraValues values;
            values.remote = settings;
            return values;
        };
        const auto language = [](UiLanguage language) {
            ExtraValues values;
            values.language = language;
            return values;
        };
        ExtraValues commands;
        commands.command(JobEvent::Completed) =
            u"notify-send \"Roll done\" \"%name, hole %hole\""_s;
        commands.command(JobEvent::PortLost) = u"notify-send Port lost"_s;
        row("commands",
            "[events]\ncompleted=\"notify-send \\\"Roll done\\\" \\\"%name, hole %hole\\\"\"\n"
            "port-lost=notify-send Port lost",
            commands);
        const QString key = u"0123456789ABCDEF0123456789abcdef"_s;
        const QString port = u"[remote] port=%1 is not a number from 1 to 65535; 8765 is used"_s;
        row("usable remote", "[remote]\nenabled=TRUE\nport=9000\ntoken=" + key.toLatin1(),
            remote({true, 9000, key}));
        row("port a word", "[remote]\nport=eighty", remote({}), port.arg(u"eighty"_s));
        row("port 0", "[remote]\nenabled=true\nport=0",
            remote({true, RemoteSettings::DefaultPort, {}}), port.arg(0));
        row("port too high", "[remote]\nport=65536", remote({}), port.arg(65536));
        row("enabled a word", "[remote]\nenabled=yes\nport=9000", remote({false, 9000, {}}),
            u"[remote] enabled=yes is neither true nor false; false is used"_s);
        row("token too short", "[remote]\ntoken=1234", remote({}),
            u"[remote] token is not 32 hexadecimal digits; a new one is made when the view is "
            "turned on"_s);
        row("nl", "[ui]\nlanguage=nl", language(UiLanguage::Dutch));
        row("EN", "[ui]\nlanguage=EN", language(UiLanguage::English));
        row("system", "[ui]\nlanguage=system", language(UiLanguage::System));
        row("no language", "[ui]\nlanguage=", language(UiLanguage::System));
        row("de", "[ui]\nlanguage=de", language(UiLanguage::System),
            u"[ui] language=de is not nl, en or system; the desktop's language is used"_s);
    }

    void byHand()
    {
        QFETCH(QByteArray, ini);
        QFETCH(ExtraValues, values);
        QFETCH(QString, problem);
        const QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(writeFile(folder + ExtraSettings::fileName(), ini + '\n'));
        QStringList log;
        ExtraSettings extras(folder, [&](const QString &line) { log << line; });
        extras.read();
        QCOMPARE(extras.values(), values);
        QCOMPARE(ExtraSettings::readLanguage(folder), values.language);
        QCOMPARE(log, problem.isEmpty()
                          ? QStringList()
                          : QStringList(u"Extra settings: %1: %2"_s.arg(problem, extras.path())));
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
