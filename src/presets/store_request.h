#pragma once
// What a store will write, checked before anything goes to the device: the
// position must be one of Combo1's items and the name must fit in bytes.
#include <QString>
#include <string>
#include <variant>

#include "ui/user_dialogs.h"
#include "model/preset_name.h"

namespace presets {

struct StoreRequest {
    int slot = 0;                       // position - 5, 0..15
    model::PresetNameBytes nameBytes{};  // centred and coded, as the device keeps it
    std::u32string name;                // as typed, for the lists and the title
};

// The store to make, or the box that refuses it.
std::variant<StoreRequest, ui::Message> CheckStoreRequest(const QString& positionText, const QString& name);

}  // namespace presets
