#pragma once
// What a store will write, checked before anything goes to the device: the
// position must be one of Combo1's items and the name must fit in bytes.
#include <QString>
#include <string>
#include <variant>

#include "model/preset_name.h"

namespace presets {

struct StoreRequest {
    int slot = 0;                        // position - 5, 0..15
    model::PresetNameBytes nameBytes{};  // centred and coded, as the device keeps it
    std::u32string name;                 // as typed, for the lists and the title
};

enum class StoreRefusal {
    NoPositionSelected,  // a position typed over Combo1's items, or none
    NameNotStorable,     // a character outside the device's one-byte code
};

// The words that say why; the caller decides how to show them.
const char* StoreRefusalText(StoreRefusal refusal);

// The store to make, or why it is refused. The position is asked for first.
std::variant<StoreRequest, StoreRefusal> CheckStoreRequest(const QString& positionText, const QString& name);

}  // namespace presets
