#include "connection/typed_port.h"

namespace connection {

int NumberForTypedPort(const devlink::PortTable& ports, const std::string& path,
                       const std::function<bool(const std::string&)>& exists) {
    for (int n = devlink::kFirstPort; n <= devlink::kLastPort; ++n)
        if (ports.name(n) == path) return n;
    for (int n = devlink::kLastPort; n >= devlink::kFirstPort; --n) {
        const std::optional<std::string> name = ports.name(n);
        if (!name || !exists(*name)) return n;
    }
    // Every number names a port of this machine: the last one gives way.
    return devlink::kLastPort;
}

void AddRememberedTypedPort(devlink::PortTable& ports) {
    if (const std::optional<TypedPort> typed = ReadTypedPort()) ports.set(typed->number, typed->path);
}

}  // namespace connection
