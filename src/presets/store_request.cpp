#include "presets/store_request.h"

#include "presets/preset_texts.h"
#include "presets/preset_words.h"

namespace presets {

const char* StoreRefusalText(StoreRefusal refusal) {
    switch (refusal) {
    case StoreRefusal::NoPositionSelected: return kNoPositionSelected;
    case StoreRefusal::NameNotStorable: return kNameNotStorable;
    }
    return kNoPositionSelected;
}

std::variant<StoreRequest, StoreRefusal> CheckStoreRequest(const QString& positionText, const QString& name) {
    const auto slot = SlotFromPositionText(positionText);
    if (!slot) return StoreRefusal::NoPositionSelected;
    // A broken surrogate pair becomes U+FFFD here and is refused with the rest.
    std::u32string typed = name.toStdU32String();
    const auto bytes = model::PadPresetName(typed);
    if (!bytes) return StoreRefusal::NameNotStorable;
    return StoreRequest{*slot, *bytes, std::move(typed)};
}

}  // namespace presets
