#include "platform/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace velmora {

void DesktopNotifier::notify(const QString &title, const QString &text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage note = QDBusMessage::createMethodCall(
        u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
        u"org.freedesktop.Notifications"_s, u"Notify"_s);
    // Application name, no note replaced, no icon, title, text, no actions,
    // no hints, the desktop's own display time.
    note << u"Velmora"_s << 0u << QString() << title << text << QStringList() << QVariantMap()
         << -1;
    // Sent without waiting: an error answer (no such service) is dropped.
    bus.send(note);
}

} // namespace velmora
