// A preset block from the device or a file, applied as the editor applies
// it, short of the widgets: clamped, each notch shown and sent again, the
// automatic settings loaded into their controls and sent, a notch's
// response computed. Clamping leaves every code in range and is stable; the texts a
// notch row shows send back exactly the codes they came from; no control is
// given a value outside its range; the frames carry the image's bytes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "devlink/commands.h"
#include "model/number_text.h"
#include "notch/auto_settings.h"
#include "notch/notch_transfer.h"
#include "notch/response.h"
#include "notch/search_frames.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The response of every notch costs more than all the rest together; the
// spare byte picks the one computed, so each input stays quick.
void ApplyNotches(model::PresetImage& image) {
    notch::NotchArrays arrays;
    notch::ResponseTables response;
    const int computed = image[model::kSpareByte] % model::kNotches;
    for (int n = 0; n < model::kNotches; ++n) {
        const model::NotchCodes codes = model::ReadNotchRecord(image, n);
        const notch::NotchRow row{codes.gain, model::FormatNumber(model::FreqTable.at(codes.freq)), codes.width};
        const model::PresetImage before = image;
        const notch::NotchTransfer sent = notch::TransferNotch(n, row, arrays, image);
        Require(sent.codes == codes);
        Require(image == before);
        Require(sent.payload == devlink::SetNotchPayload(model::ChannelOfNotch(n), model::RowOfNotch(n), codes.freq,
                                                         codes.width, codes.gain));
        if (n == computed) response.computeNotch(n, arrays);
    }
    for (int i = 0; i < model::kFreqCodes; ++i)
        for (int c = 0; c < model::kChannels; ++c) {
            const double db = response.ChannelResponse(i, c);
            Require(std::isfinite(db) && db <= 0 && db >= -model::kMaxGainCode);
        }
}

void ApplyAutoSettings(const model::PresetImage& image) {
    notch::AutoSettings settings;
    for (int c = 0; c < model::kChannels; ++c) {
        notch::LoadAutoSettings(settings, image, c);
        for (const notch::AutoSetting setting : notch::kAutoSettings) {
            const int control = notch::ControlFromState(setting, settings(setting, c));
            Require(control >= 0 && control <= notch::ControlMaximum(setting));
            Require(notch::StateFromControl(setting, control) == image[notch::ImageOffset(setting, c)]);
            Require(!notch::ValueText(setting, settings(setting, c)).empty());
            (void)notch::CommitPayload(setting, image, c);
        }
        const devlink::Payload control = notch::SearchControlPayload(image, c);
        Require(control[2] == image[model::NumNotchAutoOffset[c]] && control[3] == image[model::QNotchAutoOffset[c]] &&
                control[4] == image[model::AttenuationModeOffset[c]] &&
                control[5] == image[model::SensitivityOffset[c]]);
    }
    for (std::uint8_t selector = 0; selector <= 2; ++selector) (void)notch::SearchStartPayload(image, selector);
    (void)notch::SearchStopPayload(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model::PresetImage image{};
    std::copy_n(data, std::min(size, image.size()), image.begin());
    const model::PresetImage received = image;

    const bool changed = model::ClampImageCodes(image);
    Require(changed == (image != received));
    Require(model::ImageCodesInRange(image));
    const model::PresetImage clamped = image;
    Require(!model::ClampImageCodes(image) && image == clamped);

    ApplyNotches(image);
    ApplyAutoSettings(image);
    return 0;
}
