#include "devlink/port_table.h"

namespace devlink {

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
        const std::size_t end = list.find(separator, start);
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
