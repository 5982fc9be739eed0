#include "sim/fault_options.h"

#include <charconv>

namespace sim {

bool isFaultOption(std::string_view option) { return option == "--fault" || option == "--fault-seed"; }

bool applyFaultOption(std::string_view option, const std::string& value, FaultScript& script, std::string* error) {
    if (option == "--fault-seed") {
        std::uint32_t seed = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (ec == std::errc() && end == value.data() + value.size()) {
            script.seed = seed;
            return true;
        }
        if (error) *error = "--fault-seed wants a number from 0 to 4294967295, not '" + value + "'";
        return false;
    }
    Fault fault;
    std::string why;
    if (!parseFault(value, fault, &why)) {
        if (error) *error = "--fault '" + value + "': " + why;
        return false;
    }
    script.faults.push_back(fault);
    return true;
}

}  // namespace sim
