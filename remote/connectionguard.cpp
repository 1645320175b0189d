#include "remote/connectionguard.h"

#include <QByteArray>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v';
}

// Where the head in `bytes` ends (just past its blank line), or -1. Line ends
// may be CR LF or LF alone, as the HTTP server reads them.
qsizetype headEnd(const QByteArray &bytes)
{
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1)) {
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            return i + 2;
        if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n')
            return i + 3;
    }
    return -1;
}

// The status line of a refusal for a whole head, or empty when the HTTP
// server may have it: GET and HEAD only, no body, no WebSocket.
QByteArray judgeHead(QByteArrayView head)
{
    const qsizetype lineEnd = head.indexOf('\n');
    const QByteArrayView requestLine = head.first(lineEnd);
    const QByteArrayView method = requestLine.first(qMax<qsizetype>(requestLine.indexOf(' '), 0));
    if (method != "GET" && method != "HEAD")
        return "405 Method Not Allowed\r\nAllow: GET, HEAD";
    for (qsizetype from = lineEnd + 1; from < head.size();) {
        qsizetype to = head.indexOf('\n', from);
        if (to < 0)
            to = head.size();
        const QByteArrayView line = head.sliced(from, to - from);
        from = to + 1;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArrayView name = line.first(colon).trimmed();
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        if (name.compare("transfer-encoding", Qt::CaseInsensitive) == 0 ||
            (name.compare("content-length", Qt::CaseInsensitive) == 0 && value != "0"))
            return "413 Payload Too Large";
        if (name.compare("upgrade", Qt::CaseInsensitive) == 0 &&
            value.toByteArray().toLower().contains("websocket"))
            return "400 Bad Request"; // nothing here speaks WebSocket
    }
    return {};
}

// Holds one connection to the limits; a child of its socket.
class RequestGate : public QObject
{
public:
    RequestGate(QTcpSocket *socket, const RemoteLimits &limits, std::shared_ptr<int> open)
        : QObject(socket), m_socket(socket), m_limits(limits), m_open(std::move(open))
    {
        ++*m_open;
        // Connected before the HTTP server's own reader, so it sees every
        // byte first and can keep a refused request from it.
        connect(socket, &QTcpSocket::readyRead, this, &RequestGate::look);
        m_idle.setSingleShot(true);
        m_idle.setInterval(m_limits.idleMs);
        connect(&m_idle, &QTimer::timeout, this, &RequestGate::drop);
        m_idle.start();
    }
    ~RequestGate() override { --*m_open; }

private:
    void look()
    {
        m_idle.start();
        if (m_socket->bytesToWrite() > m_limits.maxUnsent) {
            drop();
            return;
        }
        // Bytes the HTTP server has read stay out of the bytes available: it
        // reads every head to its end, and a refusal ends the connection, so
        // these are the bytes that arrived since the last look.
        QByteArray fresh = m_socket->peek(m_socket->bytesAvailable());
        if (m_head.isEmpty()) {
            qsizetype skip = 0;
            while (skip < fresh.size() && isBlank(fresh[skip]))
                ++skip;
            fresh.remove(0, skip);
        }
        m_head += fresh;
        const qsizetype end = headEnd(m_head);
        if (end < 0 ? m_head.size() > m_limits.maxHeadBytes : end > m_limits.maxHeadBytes) {
            refuse("431 Request Header Fields Too Large");
            return;
        }
        if (end < 0)
            return;
        QByteArray refusal = judgeHead(QByteArrayView(m_head).first(end));
        const bool more =
            std::any_of(m_head.cbegin() + end, m_head.cend(), [](char c) { return !isBlank(c); });
        if (refusal.isEmpty() && more)
            refusal = "400 Bad Request";
        m_head.clear();
        if (!refusal.isEmpty())
            refuse(refusal);
    }

    // Answers with the status and closes; the HTTP server never sees the request.
    void refuse(const QByteArray &status)
    {
        disconnect(m_socket, &QTcpSocket::readyRead, nullptr, nullptr);
        m_socket->write("HTTP/1.1 " + status +
                        "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        m_socket->disconnectFromHost();
    }

    void drop()
    {
        disconnect(m_socket, &QTcpSocket::readyRead, nullptr, nullptr);
        m_socket->abort();
        m_socket->deleteLater();
    }

    QTcpSocket *m_socket;
    const RemoteLimits m_limits;
    std::shared_ptr<int> m_open;
    QTimer m_idle;
    QByteArray m_head; // of the request arriving, up to its blank line
};

} // namespace

ConnectionGuard::ConnectionGuard(const RemoteLimits &limits, QObject *parent)
    : QTcpServer(parent), m_limits(limits), m_open(std::make_shared<int>(0))
{}

void ConnectionGuard::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (*m_open >= m_limits.maxConnections) {
        socket->abort();
        delete socket;
        return;
    }
    new RequestGate(socket, m_limits, m_open);
    addPendingConnection(socket);
}

} // namespace velmora
