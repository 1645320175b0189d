#include "remote/qrmatrix.h"
#include "remote/remoteserver.h"
#include "remote/remotetoken.h"
#include "remote/remoteview.h"
#include "tests/support/testhelpers.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QString Key = u"0123456789abcdef0123456789abcdef"_s;

// A job punching hole 26 of a roll whose name must be escaped in JSON and in
// HTML, and a picture with a shape of every kind.
RemoteStatus sampleStatus()
{
    RemoteStatus status;
    status.state = RemoteStatus::State::Punching;
    status.roll = RemoteRoll{u"/rolls/koraal-52.prt"_s, u"Koraal <b>\"52\"</b>"_s, 473};
    status.nextNote = 26;
    status.sent = 25;
    status.remaining = u"Estimated time to go:  2 min"_s;
    status.outcome = RemoteStatus::Outcome::Stopped;
    status.log = {u"Punching started"_s, u"     Sent: #,0001^"_s};
    status.time = QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::OffsetFromUTC, 7200);
    return status;
}

RollPicture samplePicture()
{
    RollShape line{RollShape::Kind::Line, 301, 0, 301, 200, 0, RollRed};
    RollShape hole{RollShape::Kind::Circle, 300, 50, 0, 0, 4, RollRed};
    RollShape point{RollShape::Kind::Circle, 320, 60, 0, 0, 0, RollGrey};
    RollShape slot{RollShape::Kind::Rect, 340, 70, 330, 80, 0, RollBlack};
    RollShape filled{RollShape::Kind::FilledRect, 350, 70, 360, 80, 0, RollRed};
    return {600, 200, {line, hole, point, slot, filled}};
}

struct Reply
{
    int status = 0; // 0: no answer
    QByteArray head;
    QByteArray body;
};

// A client on its own connection; the waits run the event loop, so the
// server in this thread answers meanwhile.
struct Client
{
    explicit Client(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        (void)QTest::qWaitFor([this] {
            return socket.state() == QTcpSocket::ConnectedState ||
                   socket.state() == QTcpSocket::UnconnectedState;
        });
        connected = socket.state() == QTcpSocket::ConnectedState;
    }

    // Sends request and reads one answer, or until the server closes.
    Reply exchange(const QByteArray &request, bool head = false)
    {
        socket.write(request);
        static const QRegularExpression length(u"(?i)content-length: *(\\d+)"_s);
        QByteArray data;
        qsizetype end = -1;
        (void)QTest::qWaitFor([&] {
            data += socket.readAll();
            end = data.indexOf("\r\n\r\n");
            const auto size = [&] {
                return length.match(QString::fromLatin1(data.first(end))).captured(1).toLongLong();
            };
            return (end >= 0 && data.size() >= end + 4 + (head ? 0 : size())) ||
                   socket.state() == QTcpSocket::UnconnectedState;
        });
        Reply reply{0, data.first(qMax<qsizetype>(end, 0)),
                    end < 0 ? QByteArray() : data.sliced(end + 4)};
        reply.status = reply.head.mid(9, 3).toInt();
        return reply;
    }

    bool closedByServer(int timeoutMs)
    {
        return QTest::qWaitFor([this] { return socket.state() == QTcpSocket::UnconnectedState; },
                               timeoutMs);
    }

    QTcpSocket socket;
    bool connected = false;
};

QByteArray get(const QByteArray &target, const QByteArray &more = {})
{
    return "GET " + target + " HTTP/1.1\r\nHost: workshop\r\n" + more + "\r\n";
}

} // namespace

// The remote view's server against real connections on a free port: who is
// served, what, and what a client is refused; the snapshot and picture it
// serves; its page in a real browser (headless Chromium); the view turning it
// on and off.
class TestRemoteServer : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        const bool page = QByteArray(QTest::currentTestFunction()).startsWith("page");
        m_chromium = QStandardPaths::findExecutable(u"chromium"_s);
        if (page && m_chromium.isEmpty() && qEnvironmentVariableIsEmpty("CI"))
            QSKIP("chromium is not installed (scripts/deps installs it)");
        QVERIFY2(!page || !m_chromium.isEmpty(), "chromium is not installed");
        m_server = std::make_unique<RemoteServer>(sampleStatus, samplePicture);
        m_server->setToken(Key);
        QVERIFY(m_server->start(0));
    }
    void cleanup() { m_server.reset(); }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("type"); // empty: not looked at
        QTest::addColumn<bool>("closes");
        const auto row = [](const char *name, const QByteArray &request, int status,
                            const QByteArray &type = {}, bool closes = false) {
            QTest::newRow(name) << request << status << type << closes;
        };
        const QByteArray key = Key.toLatin1();
        const QByteArray bearer = "Authorization: Bearer " + key + "\r\n";

        row("page, token in the query", get("/?token=" + key), 200, "text/html; charset=utf-8");
        row("status, bearer token", get("/status", bearer), 200, "application/json");
        row("bearer in lower case", get("/status", "authorization: bearer " + key + "\r\n"), 200);
        row("roll picture", get("/roll.svg?token=" + key), 200, "image/svg+xml");
        row("no token", get("/status"), 403);
        row("empty token", get("/status?token="), 403);
        row("token short of a digit", get("/?token=" + key.chopped(1)), 403);
        row("token and one more digit", get("/?token=" + key + "0"), 403);
        row("token of another scheme", get("/", "Authorization: Basic " + key + "\r\n"), 403);
        row("unknown path, no token", get("/admin"), 403);
        row("unknown path", get("/admin?token=" + key), 404);
        row("asks to close", get("/status", bearer + "Connection: close\r\n"), 200, {}, true);
        row("post", "POST /status?token=" + key + " HTTP/1.1\r\nContent-Length: 0\r\n\r\n", 405, {},
            true);
        row("body on a GET", get("/status", bearer + "Content-Length: 4\r\n") + "stop", 413, {},
            true);
        row("chunked body",
            get("/status", bearer + "Transfer-Encoding: chunked\r\n") + "4\r\nstop\r\n0\r\n\r\n",
            413, {}, true);
        row("head within 8 KB", get("/status", bearer + "X-Pad: " + QByteArray(7900, 'a') + "\r\n"),
            200);
        row("head over 8 KB", get("/status", bearer + "X-Pad: " + QByteArray(8200, 'a') + "\r\n"),
            431, {}, true);
        row("websocket", get("/status", bearer + "Upgrade: websocket\r\n"), 400, {}, true);
        row("two requests at once", get("/status", bearer) + get("/status", bearer), 400, {}, true);
    }

    void answers()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        QFETCH(QByteArray, type);
        QFETCH(bool, closes);
        Client client(m_server->port());
        QVERIFY(client.connected);
        const Reply reply = client.exchange(request);
        QCOMPARE(reply.status, status);
        QCOMPARE(client.closedByServer(closes ? 2000 : 50), closes);
        if (!type.isEmpty())
            QVERIFY2(reply.head.contains("Content-Type: " + type), reply.head);
        if (status == 403) // nothing of the program without the token
            QVERIFY(!reply.body.contains("Koraal") && !reply.body.contains("<svg"));
        if (status == 200)
            QVERIFY(reply.head.contains("Cache-Control: no-store"));
    }

    void headAnswersWithoutBody()
    {
        Client client(m_server->port());
        const Reply got = client.exchange(get("/status?token=" + Key.toLatin1()));
        const Reply head =
            client.exchange("HEAD /status?token=" + Key.toLatin1() + " HTTP/1.1\r\n\r\n", true);
        QCOMPARE(head.status, 200);
        QVERIFY(head.head.contains("Content-Length: " + QByteArray::number(got.body.size())));
        QVERIFY(head.body.isEmpty());
        // The connection serves the next request.
        QCOMPARE(client.exchange(get("/?token=" + Key.toLatin1())).status, 200);
    }

    void emptyTokenServesNothing()
    {
        m_server->setToken(QString());
        Client client(m_server->port());
        QCOMPARE(client.exchange(get("/?token=")).status, 403);
        QCOMPARE(client.exchange(get("/", "Authorization: Bearer \r\n")).status, 403);
    }

    void statusJson_data()
    {
        QTest::addColumn<bool>("withRoll");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("roll, outcome")
            << true
            << QByteArray(
                   "{\"log\":[\"Punching started\",\"     Sent: #,0001^\"],\"nextNote\":26,"
                   "\"outcome\":\"stopped\",\"remaining\":\"Estimated time to go:  2 min\","
                   "\"roll\":{\"holes\":473,\"name\":\"Koraal "
                   "<b>\\\"52\\\"</b>\",\"path\":\"/rolls/koraal-52.prt\"},"
                   "\"sent\":25,\"state\":\"punching\",\"time\":\"2024-05-01T10:00:00+02:00\"}");
        QTest::newRow("nothing yet")
            << false
            << QByteArray(
                   "{\"log\":[],\"nextNote\":1,\"outcome\":null,\"remaining\":\"\",\"roll\":null,"
                   "\"sent\":0,\"state\":\"idle\",\"time\":\"2024-05-01T08:00:00Z\"}");
    }

    void statusJson()
    {
        QFETCH(bool, withRoll);
        QFETCH(QByteArray, json);
        RemoteStatus status = sampleStatus();
        if (!withRoll) {
            status = RemoteStatus();
            status.nextNote = 1;
            status.time = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
        }
        QCOMPARE(velmora::statusJson(status), json);
    }

    void rollSvgShapes()
    {
        const QByteArray svg = rollSvg(samplePicture());
        QXmlStreamReader xml(svg);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const char *shape :
             {"<line x1=\"301\" y1=\"0\" x2=\"301\" y2=\"200\" stroke=\"#ff0000\"/>",
              "<circle cx=\"300\" cy=\"50\" r=\"4\" fill=\"none\" stroke=\"#ff0000\"/>",
              "<rect x=\"320\" y=\"60\" width=\"1\" height=\"1\" fill=\"#b4b4b4\"/>",
              "<rect x=\"330\" y=\"70\" width=\"10\" height=\"10\" fill=\"none\" "
              "stroke=\"#000000\"/>",
              "<rect x=\"350\" y=\"70\" width=\"10\" height=\"10\" fill=\"#ff0000\" "
              "stroke=\"#ff0000\"/>"})
            QVERIFY2(svg.contains(shape), shape);
    }

    void idleConnectionsClose()
    {
        RemoteLimits limits;
        limits.idleMs = 300;
        RemoteServer server(sampleStatus, samplePicture);
        server.setToken(Key);
        QVERIFY(server.start(0, limits));
        QElapsedTimer elapsed;
        elapsed.start();
        Client silent(server.port());
        Client halfway(server.port());
        halfway.socket.write("GET /status HTTP/1.1\r\nHost: wo");
        Client served(server.port());
        QCOMPARE(served.exchange(get("/status?token=" + Key.toLatin1())).status, 200);
        QVERIFY(silent.closedByServer(3000) && halfway.closedByServer(3000));
        QVERIFY(elapsed.elapsed() >= 200);
        QTRY_COMPARE(server.openConnections(), 0);
    }

    void connectionLimit()
    {
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < 64; ++i)
            clients.push_back(std::make_unique<Client>(m_server->port()));
        QTRY_COMPARE(m_server->openConnections(), 64);
        Client refused(m_server->port());
        QVERIFY(refused.closedByServer(3000));
        // Those held are still served; one gone makes room for another.
        QCOMPARE(clients.back()->exchange(get("/status?token=" + Key.toLatin1())).status, 200);
        clients.front().reset();
        QTRY_COMPARE(m_server->openConnections(), 63);
        Client next(m_server->port());
        QCOMPARE(next.exchange(get("/status?token=" + Key.toLatin1())).status, 200);
    }

    // What the page shows of a punching job.
    void pageShowsTheJob()
    {
        const QString dom =
            pageAsShown(u"http://127.0.0.1:%1/?token=%2"_s.arg(m_server->port()).arg(Key));
        QVERIFY2(dom.contains(u"<h1 id=\"name\">Koraal &lt;b&gt;\"52\"&lt;/b&gt;</h1>"_s),
                 qPrintable(dom));
        QVERIFY(dom.contains(u"<span id=\"sent\">25</span> of <span id=\"total\">473</span>"_s));
        QVERIFY(dom.contains(u"<div id=\"state\">Punching</div>"_s));
        QVERIFY(dom.contains(u"Estimated time to go:  2 min"_s));
        QVERIFY(dom.contains(u"Punching started\n     Sent: #,0001^"_s));
        QVERIFY(dom.contains(u"roll.svg?token="_s + Key));
        QVERIFY(dom.contains(u"<div id=\"offline\" class=\"card\" hidden=\"\">"_s));
    }

    void pageSaysWhenTheProgramIsGone()
    {
        // The page as a file: its requests for the status go nowhere.
        QTemporaryDir dir;
        const QByteArray page = readFile(u":/remote/remotepage.html"_s);
        const QString path = dir.filePath(u"page.html"_s);
        QVERIFY(!page.isEmpty() && writeFile(path, page));
        const QString dom = pageAsShown(QUrl::fromLocalFile(path).toString() + u"?token="_s + Key);
        QVERIFY2(dom.contains(u"<div id=\"offline\" class=\"card\">"_s), qPrintable(dom));
        QVERIFY(dom.contains(u"Velmora cannot be reached"_s));
    }

    void viewTurnsOnAndOff()
    {
        RemoteView view(sampleStatus, samplePicture);
        QSignalSpy kept(&view, &RemoteView::settingsChanged);
        QVERIFY(!view.listening() && view.settings().token.isEmpty());

        view.apply({true, 0, QString()});
        QVERIFY(view.listening());
        const QString token = view.settings().token;
        QVERIFY(QRegularExpression(u"^[0-9a-f]{32}$"_s).match(token).hasMatch());
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.at(0).at(0).value<RemoteSettings>().token, token);
        QVERIFY(
            view.pageAddresses().value(0).endsWith(u":%1/?token=%2"_s.arg(view.port()).arg(token)));

        // A new token: the old one no longer serves.
        Client client(view.port());
        view.renewToken();
        QVERIFY(view.settings().token != token && kept.size() == 2);
        QCOMPARE(client.exchange(get("/status?token=" + token.toLatin1())).status, 403);
        QCOMPARE(client.exchange(get("/status?token=" + view.settings().token.toLatin1())).status,
                 200);

        // Off: the port closes and so do the connections.
        const quint16 port = view.port();
        view.setEnabled(false);
        QVERIFY(!view.listening() && view.pageAddresses().isEmpty());
        QVERIFY(client.closedByServer(1000));
        Client late(port);
        QVERIFY(!late.connected);
    }

    void tokensAndQrCodes()
    {
        QVERIFY(makeRemoteToken() != makeRemoteToken());
        const QrMatrix code = qrMatrix("http://192.168.100.200:8765/?token=" + Key.toLatin1());
        QVERIFY(code.size >= 21 && (code.size - 17) % 4 == 0);
        // The finder patterns: a dark ring of 7 x 7 modules in three corners.
        for (const auto &[x, y] : {std::pair{0, 0}, {code.size - 7, 0}, {0, code.size - 7}}) {
            QVERIFY(code.isDark(x, y) && code.isDark(x + 6, y + 6) && !code.isDark(x + 1, y + 1) &&
                    code.isDark(x + 3, y + 3));
        }
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
    std::unique_ptr<RemoteServer> m_server;
};

QTEST_GUILESS_MAIN(TestRemoteServer)
#include "tst_remoteserver.moc"
