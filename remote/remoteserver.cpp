#include "remote/remoteserver.h"

#include "remote/remotetoken.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace velmora {

namespace {

using Status = QHttpServerResponder::StatusCode;

QByteArray loadPage()
{
    QFile page(QStringLiteral(":/remote/remotepage.html"));
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

// Kept from the browser's cache, never sniffed as another type, never framed,
// and the page may reach nothing but this server.
const QByteArray PagePolicy = "default-src 'none'; script-src 'unsafe-inline'; "
                              "style-src 'unsafe-inline'; img-src 'self'; connect-src 'self'; "
                              "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

} // namespace

RemoteServer::RemoteServer(StatusSource status, PictureSource picture, QObject *parent)
    : QAbstractHttpServer(parent), m_status(std::move(status)), m_picture(std::move(picture)),
      m_page(loadPage())
{}

bool RemoteServer::start(quint16 port, const RemoteLimits &limits)
{
    auto *guard = new ConnectionGuard(limits, this);
    if (!guard->listen(QHostAddress::Any, port)) {
        m_error = guard->errorString();
        delete guard;
        return false;
    }
    m_error.clear();
    m_guard = guard;
    bind(guard);
    return true;
}

quint16 RemoteServer::port() const
{
    return m_guard ? m_guard->serverPort() : 0;
}

int RemoteServer::openConnections() const
{
    return m_guard ? m_guard->openConnections() : 0;
}

bool RemoteServer::authorised(const QHttpServerRequest &request) const
{
    const QString given =
        request.query().queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded);
    if (tokenMatches(given.toUtf8(), m_token))
        return true;
    const QByteArray authorization = request.value("authorization").trimmed();
    const qsizetype blank = authorization.indexOf(' ');
    return blank > 0 &&
           QByteArrayView(authorization).first(blank).compare("Bearer", Qt::CaseInsensitive) == 0 &&
           tokenMatches(authorization.sliced(blank + 1).trimmed(), m_token);
}

bool RemoteServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    using Method = QHttpServerRequest::Method;
    Status status = Status::Ok;
    QByteArray type = "text/plain; charset=utf-8";
    QByteArray body;
    const QString path = request.url().path();
    if (request.method() != Method::Get && request.method() != Method::Head) {
        status = Status::MethodNotAllowed;
    } else if (!authorised(request)) {
        status = Status::Forbidden;
        body = "This address needs the token of the remote view.\n";
    } else if (path == QLatin1String("/")) {
        type = "text/html; charset=utf-8";
        body = m_page;
    } else if (path == QLatin1String("/status")) {
        type = "application/json";
        body = statusJson(m_status());
    } else if (path == QLatin1String("/roll.svg")) {
        type = "image/svg+xml";
        body = rollSvg(m_picture());
    } else {
        status = Status::NotFound;
        body = "Not found.\n";
    }

    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(status);
    responder.writeHeaders({{"Content-Type", type},
                            {"Content-Length", QByteArray::number(body.size())},
                            {"Cache-Control", "no-store"},
                            {"X-Content-Type-Options", "nosniff"},
                            {"Referrer-Policy", "no-referrer"},
                            {"Content-Security-Policy", PagePolicy}});
    if (status == Status::MethodNotAllowed)
        responder.writeHeader("Allow", "GET, HEAD");
    responder.writeBody(request.method() == Method::Head ? QByteArray() : body);
    if (request.value("connection").compare("close", Qt::CaseInsensitive) == 0)
        socket->disconnectFromHost();
    return true;
}

void RemoteServer::missingHandler(const QHttpServerRequest &, QTcpSocket *socket)
{
    socket->disconnectFromHost(); // every request is handled above
}

} // namespace velmora
