#pragma once

#include <QString>

namespace velmora {

// A note on the desktop for an operator who is not at the machine: what
// happened, in a title and a line or two. Where the desktop offers no such
// notes, nothing is shown and nothing else changes.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString &title, const QString &text) = 0;
};

} // namespace velmora
