#include "presets/store_request.h"

#include "presets/preset_texts.h"
#include "presets/preset_words.h"

namespace presets {
namespace {

ui::Message Refusal(const char* text) {
    return {QString::fromLatin1(text), QString::fromLatin1(kStoreQuestionTitle), ui::Icon::Exclamation,
            ui::Buttons::Ok, ui::Answer::Ok};
}

}  // namespace

std::variant<StoreRequest, ui::Message> CheckStoreRequest(const QString& positionText, const QString& name) {
    const auto slot = SlotFromPositionText(positionText);
    if (!slot) return Refusal(kNoPositionSelected);
    // A broken surrogate pair becomes U+FFFD here and is refused with the rest.
    std::u32string typed = name.toStdU32String();
    const auto bytes = model::PadPresetName(typed);
    if (!bytes) return Refusal(kNameNotStorable);
    return StoreRequest{*slot, *bytes, std::move(typed)};
}

}  // namespace presets
