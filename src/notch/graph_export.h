#pragma once
// Both channels' responses as text for a spreadsheet: a heading, then one
// line per graph point (frequency in Hz, Left dB, Right dB), comma
// separated, levels to two decimals.
#include <string>

#include "notch/response.h"

namespace notch {

std::string ResponsesCsv(const ResponseTables& tables);

}  // namespace notch
