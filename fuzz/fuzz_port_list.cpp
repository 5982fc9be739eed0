// A port list from --ports or QRN4480_PORTS: entry i names port i + 1, an
// empty entry or one past the 35th names no port, and numbers outside 1..35
// never name one; a tcp://HOST:PORT entry is one port, colons and all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "devlink/port_table.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Split(std::string_view list, char separator) {
    std::vector<std::string> entries(1);
    for (const char ch : list) {
        if (ch == separator)
            entries.emplace_back();
        else
            entries.back().push_back(ch);
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char separator = data[0] % 2 == 0 ? ':' : ';';
    const std::string_view list(reinterpret_cast<const char*>(data + 1), size - 1);
    const devlink::PortTable table = devlink::PortTable::fromList(list, separator);
    // A network port's name keeps colons of its own, so the list is no plain
    // split there: the names must still cut the list into its entries, in
    // order, and only a network port's name may hold the separator.
    if (list.find("tcp://") != std::string_view::npos) {
        std::size_t at = 0;
        bool ended = false;
        for (int number = devlink::kFirstPort; number <= devlink::kLastPort; ++number) {
            const std::string entry = table.name(number).value_or("");
            Require(!ended || entry.empty());
            if (ended) continue;
            Require(list.substr(at).starts_with(entry));
            Require(entry.starts_with("tcp://") || entry.find(separator) == std::string::npos);
            at += entry.size();
            if (at == list.size()) {
                ended = true;
                continue;
            }
            Require(list[at] == separator);
            ++at;
        }
        return 0;
    }
    const std::vector<std::string> entries = Split(list, separator);
    for (int number = devlink::kFirstPort - 2; number <= devlink::kLastPort + 2; ++number) {
        const auto name = table.name(number);
        const auto index = static_cast<std::size_t>(number - devlink::kFirstPort);
        const bool named = number >= devlink::kFirstPort && number <= devlink::kLastPort && index < entries.size() &&
                           !entries[index].empty();
        Require(name.has_value() == named);
        if (named) Require(*name == entries[index]);
    }
    return 0;
}
