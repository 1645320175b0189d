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

// velmora.ini: what the dialog keeps is read back at the next start, a file
// edited by hand is read as the README shows it, a value that cannot be used
// and a file that cannot be read or written cost one log line and nothing
// else.
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
            dialog->cboLanguage->setCurrentIndex(int(UiLanguage::Dutch));
            dialog->cmdExtraOK->click();
            QCOMPARE(rig.app.core.extras.values().command(JobEvent::ControllerStop), command);
        }
        QCOMPARE(ExtraSettings::readLanguage(dir.path() + u'/'), UiLanguage::Dutch);
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

    // Turned on in the dialog, the remote view is kept with the token it made
    // (OK for the commands leaves it so) and serves with it from the next
    // start on.
    void remoteViewKept()
    {
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
            RemotePanel *panel = dialog->remotePanel();
            panel->spnRemotePort->setValue(port);
            emit panel->spnRemotePort->editingFinished();
            panel->chkRemote->click();
            dialog->cmdExtraOK->click();
            rig.app.core.extras.waitForWrites();
            const QSettings ini(folder + ExtraSettings::fileName(), QSettings::IniFormat);
            QCOMPARE(ini.value(u"remote/enabled"_s).toString(), u"true"_s);
            QCOMPARE(ini.value(u"remote/port"_s).toInt(), port);
            token = ini.value(u"remote/token"_s).toString();
            QVERIFY(QRegularExpression(u"^[0-9a-f]{32}$"_s).match(token).hasMatch());
        }
        AppRig rig({}, folder);
        QVERIFY(rig.app.core.remote.listening());
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        client.write("GET /status?token=" + token.toLatin1() + " HTTP/1.1\r\nHost: x\r\n\r\n");
        QByteArray answer;
        QVERIFY(QTest::qWaitFor([&] { return (answer += client.readAll()).contains("\r\n"); }));
        QVERIFY2(answer.startsWith("HTTP/1.1 200 "), answer.constData());
    }

    void remoteByHand_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("problem");
        const QString key = u"0123456789ABCDEF0123456789abcdef"_s;
        QTest::newRow("usable") << "enabled=TRUE\nport=9000\ntoken=" + key.toLatin1() << true
                                << 9000 << key << QString();
        QTest::newRow("port a word")
            << QByteArray("port=eighty") << false << 8765 << QString()
            << u"port=eighty is not a number from 1 to 65535; 8765 is used"_s;
        QTest::newRow("port 0") << QByteArray("enabled=true\nport=0") << true << 8765 << QString()
                                << u"port=0 is not a number from 1 to 65535; 8765 is used"_s;
        QTest::newRow("port too high")
            << QByteArray("port=65536") << false << 8765 << QString()
            << u"port=65536 is not a number from 1 to 65535; 8765 is used"_s;
        QTest::newRow("enabled a word")
            << QByteArray("enabled=yes\nport=9000") << false << 9000 << QString()
            << u"enabled=yes is neither true nor false; false is used"_s;
        QTest::newRow("token too short") << QByteArray("token=1234") << false << 8765 << QString()
                                         << u"token is not 32 hexadecimal digits; a new one is "
                                            u"made when the view is turned on"_s;
    }

    // A hand-edited [remote]: what cannot be used is said in one line and its
    // default taken.
    void remoteByHand()
    {
        QFETCH(QByteArray, section);
        QFETCH(QString, problem);
        const QTemporaryDir dir;
        const QString path = dir.filePath(ExtraSettings::fileName());
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[remote]\n" + section + '\n');
        ini.close();
        QStringList log;
        ExtraSettings extras(dir.path() + u'/', [&](const QString &line) { log << line; });
        extras.read();
        QFETCH(bool, enabled);
        QFETCH(int, port);
        QFETCH(QString, token);
        QCOMPARE(extras.values().remote, (RemoteSettings{enabled, quint16(port), token}));
        QCOMPARE(log, problem.isEmpty()
                          ? QStringList()
                          : QStringList(u"Extra settings: [remote] %1: %2"_s.arg(problem, path)));
    }

    // The window's language as an operator may write it; anything else is
    // the desktop's language, with one log line.
    void languageByHand_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<UiLanguage>("language");
        QTest::addColumn<bool>("logged");
        QTest::newRow("nl") << "nl"_ba << UiLanguage::Dutch << false;
        QTest::newRow("EN") << "EN"_ba << UiLanguage::English << false;
        QTest::newRow("system") << "system"_ba << UiLanguage::System << false;
        QTest::newRow("none") << ""_ba << UiLanguage::System << false;
        QTest::newRow("de") << "de"_ba << UiLanguage::System << true;
    }
    void languageByHand()
    {
        QFETCH(QByteArray, value);
        QFETCH(UiLanguage, language);
        QFETCH(bool, logged);
        const QTemporaryDir dir;
        QFile ini(dir.filePath(ExtraSettings::fileName()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ui]\nlanguage=" + value + "\n");
        ini.close();
        QStringList log;
        ExtraSettings extras(dir.path() + u'/', [&](const QString &line) { log << line; });
        extras.read();
        QCOMPARE(extras.values().language, language);
        QCOMPARE(ExtraSettings::readLanguage(dir.path() + u'/'), language);
        QCOMPARE(log.size(), logged ? 1 : 0);
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
