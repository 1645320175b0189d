#include "remote/remoteserver.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QString Key = u"00112233445566778899aabbccddeeff"_s;

RemoteStatus punching()
{
    RemoteStatus status;
    status.state = RemoteStatus::State::Punching;
    status.roll = RemoteRoll{u"/rolls/koraal-52.prt"_s, u"Koraal <b>52</b>"_s, 473};
    status.nextNote = 26;
    status.sent = 25;
    status.remaining = u"Estimated time to go:  2 min"_s;
    status.log = {u"Punching started"_s, u"     Sent: #,0001,0002^"_s};
    status.time = QDateTime::currentDateTime();
    return status;
}

RollPicture picture()
{
    return {600, 200, {{RollShape::Kind::Line, 301, 0, 301, 200, 0, RollRed}}};
}

} // namespace

// The remote view's page in a real browser (headless Chromium): what it
// shows of a punching job, and what it says when the program cannot be
// reached.
class TestRemotePage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_chromium = QStandardPaths::findExecutable(u"chromium"_s);
        if (m_chromium.isEmpty() && qEnvironmentVariableIsEmpty("CI"))
            QSKIP("chromium is not installed (scripts/deps installs it)");
        QVERIFY2(!m_chromium.isEmpty(), "chromium is not installed");
    }

    void showsTheJob()
    {
        RemoteServer server(punching, picture);
        server.setToken(Key);
        QVERIFY(server.start(0));
        const QString dom =
            pageAsShown(u"http://127.0.0.1:%1/?token=%2"_s.arg(server.port()).arg(Key));
        QVERIFY2(dom.contains(u"<h1 id=\"name\">Koraal &lt;b&gt;52&lt;/b&gt;</h1>"_s),
                 qPrintable(dom));
        QVERIFY(dom.contains(u"<span id=\"sent\">25</span> of <span id=\"total\">473</span>"_s));
        QVERIFY(dom.contains(u"<div id=\"state\">Punching</div>"_s));
        QVERIFY(dom.contains(u"Estimated time to go:  2 min"_s));
        QVERIFY(dom.contains(u"Punching started\n     Sent: #,0001,0002^"_s));
        QVERIFY(dom.contains(u"roll.svg?token="_s + Key));
        QVERIFY(dom.contains(u"<div id=\"offline\" class=\"card\" hidden=\"\">"_s));
    }

    void saysWhenTheProgramIsGone()
    {
        // The page as a file: its requests for the status go nowhere.
        QTemporaryDir dir;
        QFile page(u":/remote/remotepage.html"_s);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString path = dir.filePath(u"page.html"_s);
        QFile copy(path);
        QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(page.readAll()) > 0);
        copy.close();
        const QString dom = pageAsShown(QUrl::fromLocalFile(path).toString() + u"?token="_s + Key);
        QVERIFY2(dom.contains(u"<div id=\"offline\" class=\"card\">"_s), qPrintable(dom));
        QVERIFY(dom.contains(u"Velmora cannot be reached"_s));
    }

private:
    // The page's DOM after a few seconds of the browser's own time.
    QString pageAsShown(const QString &url)
    {
        QTemporaryDir profile;
        QProcess browser;
        browser.start(m_chromium,
                      {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--disable-quic"_s,
                       u"--no-first-run"_s, u"--disable-background-networking"_s,
                       u"--disable-component-update"_s, u"--disable-sync"_s,
                       u"--user-data-dir="_s + profile.path(), u"--virtual-time-budget=3000"_s,
                       u"--dump-dom"_s, url});
        // The server answers on this thread while the browser runs.
        if (!QTest::qWaitFor([&] { return browser.state() == QProcess::NotRunning; }, 60000)) {
            browser.kill();
            browser.waitForFinished();
        }
        return QString::fromUtf8(browser.readAllStandardOutput());
    }

    QString m_chromium;
};

QTEST_GUILESS_MAIN(TestRemotePage)
#include "tst_remotepage.moc"
