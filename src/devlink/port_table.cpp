#include "devlink/port_table.h"

namespace devlink {
namespace {

// Where the entry that begins at `start` ends: at the next separator. A
// network port's name holds colons of its own (tcp://host:7000, and an IPv6
// host in brackets more), so there the entry runs to the first separator
// after the colon before its port number.
std::size_t EntryEnd(std::string_view list, std::size_t start, char separator) {
    const std::string_view entry = list.substr(start);
    std::size_t from = 0;
    if (IsNetworkPortName(entry)) {
        from = kNetworkPortPrefix.size();
        if (entry.substr(from).starts_with('[')) {
            const std::size_t bracket = entry.find(']', from);
            if (bracket != std::string_view::npos) from = bracket + 1;
        }
        const std::size_t portColon = entry.find(':', from);
        if (portColon != std::string_view::npos) from = portColon + 1;
    }
    const std::size_t end = entry.find(separator, from);
    return end == std::string_view::npos ? end : start + end;
}

}  // namespace

PortTable::PortTable() : names_(kLastPort) {
    for (int n = kFirstPort; n <= kLastPort; ++n) {
#ifdef _WIN32
        names_[n - 1] = "COM" + std::to_string(n);
#else
        if (n <= 4)
            names_[n - 1] = "/dev/ttyS" + std::to_string(n - 1);
        else if (n <= 20)
            names_[n - 1] = "/dev/ttyUSB" + std::to_string(n - 5);
        else
            names_[n - 1] = "/dev/ttyACM" + std::to_string(n - 21);
#endif
    }
}

PortTable PortTable::fromList(std::string_view list, char separator) {
    PortTable table;
    table.names_.assign(kLastPort, std::string());
    int number = kFirstPort;
    std::size_t start = 0;
    while (number <= kLastPort) {
        const std::size_t end = EntryEnd(list, start, separator);
        table.names_[number - 1] = std::string(list.substr(start, end == std::string_view::npos ? end : end - start));
        ++number;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return table;
}

std::optional<std::string> PortTable::name(int portNumber) const {
    if (portNumber < kFirstPort || portNumber > kLastPort) return std::nullopt;
    const std::string& entry = names_[portNumber - 1];
    if (entry.empty()) return std::nullopt;
    return entry;
}

void PortTable::set(int portNumber, std::string path) {
    if (portNumber >= kFirstPort && portNumber <= kLastPort) names_[portNumber - 1] = std::move(path);
}

}  // namespace devlink
