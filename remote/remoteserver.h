#pragma once

#include "remote/connectionguard.h"
#include "remote/remotestatus.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>

namespace velmora {

// The HTTP side of the remote view, read-only, on the event loop of the
// thread that makes it. Every path needs the token, given as "?token=" or as
// "Authorization: Bearer"; without it the answer is 403, whatever the path.
// With it:
//   GET /          the page (HTML, self-contained)
//   GET /status    the status (JSON), from the status source
//   GET /roll.svg  the roll around the punch, from the picture source
// HEAD answers as GET without the body; other paths 404. The sources are
// asked at every request and must be cheap.
class RemoteServer : public QAbstractHttpServer
{
    Q_OBJECT
public:
    using StatusSource = std::function<RemoteStatus()>;
    using PictureSource = std::function<RollPicture()>;

    RemoteServer(StatusSource status, PictureSource picture, QObject *parent = nullptr);

    // Listens on every interface at port (0: any free port) with the given
    // limits; false when it cannot, with errorString() saying why.
    bool start(quint16 port, const RemoteLimits &limits = {});
    quint16 port() const;
    QString errorString() const { return m_error; }
    int openConnections() const;

    // The token clients must give; with an empty token nothing is served.
    void setToken(const QString &token) { m_token = token.toUtf8(); }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    bool authorised(const QHttpServerRequest &request) const;

    StatusSource m_status;
    PictureSource m_picture;
    QByteArray m_page;
    QByteArray m_token;
    QPointer<ConnectionGuard> m_guard;
    QString m_error;
};

} // namespace velmora
