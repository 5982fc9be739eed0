#include "notch/search_frames.h"

#include "devlink/commands.h"
#include "notch/auto_settings.h"

namespace notch {

devlink::Payload SearchStartPayload(const model::PresetImage& image, std::uint8_t selector) {
    const int channel = selector == devlink::kSearchRight ? 1 : 0;
    return devlink::SearchControlPayload(selector, devlink::SearchSettingsBytes(image, channel), true);
}

devlink::Payload SearchStopPayload(const model::PresetImage& image) {
    return devlink::SearchControlPayload(devlink::kSearchBoth, devlink::SearchSettingsBytes(image, 0), false);
}

}  // namespace notch
