#include "cli/name_fields.h"

#include <algorithm>
#include <string>

namespace cli {

JsonLine NameFields(std::string_view key, std::u32string_view held) {
    std::u32string shown = model::PrintablePresetName(held);
    // Only the device's own padding goes: any other blank-looking character
    // is part of the name.
    shown.erase(0, std::min(shown.find_first_not_of(U' '), shown.size()));
    shown.erase(shown.find_last_not_of(U' ') + 1);
    return JsonLine()
        .add(key, QString::fromStdU32String(shown))
        .add("raw_" + std::string(key), QString::fromStdU32String(std::u32string(held)));
}

JsonLine NameFields(std::string_view key, const model::PresetNameBytes& bytes) {
    return NameFields(key, model::DecodePresetName(bytes));
}

}  // namespace cli
