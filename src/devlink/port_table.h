#pragma once
// Port numbers 1..35 name system ports. The built-in table follows the usual
// Linux device names; a list of paths (from QRN4480_PORTS or --ports)
// replaces it, entry i naming port i + 1, an empty entry a missing port.
// An entry tcp://HOST:PORT names a serial device server on the network (in
// raw mode, as ser2net serves one); its colons do not separate entries.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devlink {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 35;
inline constexpr std::string_view kNetworkPortPrefix = "tcp://";

inline bool IsNetworkPortName(std::string_view name) { return name.starts_with(kNetworkPortPrefix); }

class PortTable {
public:
    PortTable();  // the built-in table
    static PortTable fromList(std::string_view list, char separator);

    // Nothing for a number outside 1..35 or a port the table leaves empty.
    std::optional<std::string> name(int portNumber) const;
    void set(int portNumber, std::string path);

private:
    std::vector<std::string> names_;  // index = port number - 1
};

#ifdef _WIN32
inline constexpr char kPortListSeparator = ';';
#else
inline constexpr char kPortListSeparator = ':';
#endif

}  // namespace devlink
