#pragma once

#include <QTcpServer>
#include <QtGlobal>

#include <memory>

namespace velmora {

// What one client of the remote view may take of the program.
struct RemoteLimits
{
    int maxConnections = 64;    // a connection beyond these is closed at once
    int idleMs = 10000;         // a connection that sends nothing this long is closed
    int maxHeadBytes = 8192;    // a longer request head is refused
    qint64 maxUnsent = 1 << 20; // a client that leaves this much unread is dropped
};

// The listening side of the remote view. Every connection is held to the
// limits before the HTTP server reads a byte of it:
// - beyond maxConnections open ones, a new connection is closed at once;
// - each request head is looked at as it arrives: only GET and HEAD, without
//   a body, at most maxHeadBytes, and one request at a time (bytes after a
//   head are refused, as nothing answers them before the next arrival). A
//   refused request gets its 4xx status and the connection is closed;
// - a connection that sends nothing for idleMs is closed, and so is one whose
//   client has left maxUnsent bytes of answers unread.
// Nothing here waits: a slow or silent client costs one idle connection.
class ConnectionGuard : public QTcpServer
{
    Q_OBJECT
public:
    explicit ConnectionGuard(const RemoteLimits &limits, QObject *parent = nullptr);

    int openConnections() const { return *m_open; }

protected:
    void incomingConnection(qintptr handle) override;

private:
    RemoteLimits m_limits;
    std::shared_ptr<int> m_open; // also counted down by connections outliving the guard
};

} // namespace velmora
