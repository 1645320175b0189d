#pragma once

#include "platform/notifier.h"

namespace velmora {

// Desktop notes through the session bus's notification service
// (org.freedesktop.Notifications). The note is sent without waiting for an
// answer, so a slow or missing service never holds the program up; without
// a session bus, or without the service on it, nothing is shown.
class DesktopNotifier final : public Notifier
{
public:
    void notify(const QString &title, const QString &text) override;
};

} // namespace velmora
