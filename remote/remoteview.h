#pragma once

#include "remote/connectionguard.h"
#include "remote/remoteserver.h"
#include "remote/remotesettings.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace velmora {

// The remote view as the operator turns it on and off: it keeps the settings,
// runs the server while the view is on and says how it stands. Turned on
// without a token, it makes one; settingsChanged() then carries it to be
// kept.
class RemoteView : public QObject
{
    Q_OBJECT
public:
    RemoteView(RemoteServer::StatusSource status, RemoteServer::PictureSource picture,
               QObject *parent = nullptr);
    ~RemoteView() override;

    // Takes the settings as a whole: the server starts, stops or moves to
    // the new port as they say. Applying them again while the view is on but
    // could not start tries once more.
    void apply(RemoteSettings settings);
    void setEnabled(bool enabled);
    void setPort(quint16 port);
    // A new token: clients with the old one are refused from their next request.
    void renewToken();

    const RemoteSettings &settings() const { return m_settings; }
    bool listening() const { return m_server != nullptr; }
    // The port listened on, 0 while not listening.
    quint16 port() const;
    // One line on how the view stands, for the dialog.
    QString statusText() const { return m_status; }
    // The page's address with its token, once for each IPv4 address this
    // computer has on a network (the loopback address when it has none);
    // empty while not listening.
    QStringList pageAddresses() const;

    // Limits for the connections of the next start (tests shorten them).
    void setLimits(const RemoteLimits &limits) { m_limits = limits; }
    RemoteServer *server() const { return m_server.get(); }

signals:
    void settingsChanged(const velmora::RemoteSettings &settings);
    // Listening, the status text or the addresses changed.
    void stateChanged();
    // The server could not start; the text says why, for the log.
    void failed(const QString &message);

private:
    void restart();

    RemoteServer::StatusSource m_statusSource;
    RemoteServer::PictureSource m_pictureSource;
    RemoteSettings m_settings;
    RemoteLimits m_limits;
    std::unique_ptr<RemoteServer> m_server;
    QString m_status;
};

} // namespace velmora
