#pragma once

#include <QString>

namespace velmora {

// The operator's settings of the remote view, as velmora.ini keeps them in
// [remote]. Port 0 takes any free port (tests and benchmarks only: a port
// the operator gives is one from 1 to 65535).
struct RemoteSettings
{
    static constexpr quint16 DefaultPort = 8765;

    bool enabled = false;
    quint16 port = DefaultPort;
    QString token;

    bool operator==(const RemoteSettings &) const = default;
};

} // namespace velmora
