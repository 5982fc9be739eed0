#pragma once
// The fault options of qrn4480-sim: --fault TRIGGER:ACTION (repeatable) and
// --fault-seed N.
#include <string>
#include <string_view>

#include "sim/fault_script.h"

namespace sim {

bool isFaultOption(std::string_view option);

// Adds what one fault option with its value says to `script`; false with a
// message naming the option and the value otherwise.
bool applyFaultOption(std::string_view option, const std::string& value, FaultScript& script, std::string* error);

}  // namespace sim
