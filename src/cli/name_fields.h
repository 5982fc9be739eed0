#pragma once
// A name the device keeps in eight characters (a preset's, the program's)
// as JSON fields: under its key without the blanks the device centres it
// with, as a script would compare it with the name it stored; under "raw_"
// and its key the eight characters as they are, for a script that needs
// the device's bytes (control characters escaped there, not replaced).
#include <string_view>

#include "cli/json_line.h"
#include "model/preset_name.h"

namespace cli {

JsonLine NameFields(std::string_view key, std::u32string_view held);
JsonLine NameFields(std::string_view key, const model::PresetNameBytes& bytes);

}  // namespace cli
