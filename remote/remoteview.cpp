#include "remote/remoteview.h"

#include "remote/remotetoken.h"

#include <QNetworkInterface>
#include <QUrl>
#include <QUrlQuery>

namespace velmora {

RemoteView::RemoteView(RemoteServer::StatusSource status, RemoteServer::PictureSource picture,
                       QObject *parent)
    : QObject(parent), m_statusSource(std::move(status)), m_pictureSource(std::move(picture)),
      m_status(tr("The remote view is off."))
{}

RemoteView::~RemoteView() = default;

void RemoteView::apply(RemoteSettings settings)
{
    if (settings.enabled && settings.token.isEmpty())
        settings.token = makeRemoteToken();
    const bool restarting = settings.enabled != m_settings.enabled ||
                            settings.port != m_settings.port || (settings.enabled && !m_server);
    const bool changed = settings != m_settings;
    m_settings = settings;
    if (m_server)
        m_server->setToken(m_settings.token);
    if (restarting)
        restart();
    if (changed)
        emit settingsChanged(m_settings);
    emit stateChanged();
}

void RemoteView::setEnabled(bool enabled)
{
    RemoteSettings next = m_settings;
    next.enabled = enabled;
    apply(next);
}

void RemoteView::setPort(quint16 port)
{
    RemoteSettings next = m_settings;
    next.port = port;
    apply(next);
}

void RemoteView::renewToken()
{
    RemoteSettings next = m_settings;
    next.token = makeRemoteToken();
    apply(next);
}

quint16 RemoteView::port() const
{
    return m_server ? m_server->port() : 0;
}

void RemoteView::restart()
{
    m_server.reset(); // closes every connection
    if (!m_settings.enabled) {
        m_status = tr("The remote view is off.");
        return;
    }
    auto server = std::make_unique<RemoteServer>(m_statusSource, m_pictureSource);
    server->setToken(m_settings.token);
    if (!server->start(m_settings.port, m_limits)) {
        // The panel shows it in the window's language; the log keeps English.
        const char *const cannotListen =
            QT_TR_NOOP("The remote view could not listen on port %1: %2");
        m_status = tr(cannotListen).arg(m_settings.port).arg(server->errorString());
        emit failed(
            QString::fromLatin1(cannotListen).arg(m_settings.port).arg(server->errorString()));
        return;
    }
    m_server = std::move(server);
    m_status = tr("The remote view is on, at port %1.").arg(m_server->port());
}

QStringList RemoteView::pageAddresses() const
{
    if (!m_server)
        return {};
    QList<QHostAddress> hosts;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                hosts << entry.ip();
        }
    }
    if (hosts.isEmpty())
        hosts << QHostAddress(QHostAddress::LocalHost);
    QStringList addresses;
    for (const QHostAddress &host : hosts) {
        QUrl url;
        url.setScheme(QStringLiteral("http"));
        url.setHost(host.toString());
        url.setPort(m_server->port());
        url.setPath(QStringLiteral("/"));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("token"),
                           QString::fromLatin1(QUrl::toPercentEncoding(m_settings.token)));
        url.setQuery(query);
        addresses << url.toString(QUrl::FullyEncoded);
    }
    return addresses;
}

} // namespace velmora
