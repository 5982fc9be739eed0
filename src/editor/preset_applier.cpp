#include "editor/preset_applier.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "model/number_text.h"

namespace editor {

using notch::AutoSetting;

devlink::Task<void> PresetApplier::applyPresetToEditor() {
    // A damaged file or line may hold any byte; every code must index its
    // tables safely, and the image keeps what the editor then shows.
    model::ClampImageCodes(s_.image);
    {
        UpdateGuard guard(s_.flags);  // the program's unchecking asks nothing
        s_.controls.linkBox->setChecked(false);
    }
    s_.flags.channelsLinked = false;
    constexpr int kParts = model::kNotches + model::kChannels;
    s_.reportApplied(0, kParts);
    for (int n = 0; n < model::kNotches; ++n) {
        std::vector<devlink::Payload> frames = FramesOf(s_, [&] {
            rows_.showNotchRecord(n);
            rows_.applyNotch(n);
        });
        co_await s_.link.commands(std::move(frames));
        s_.reportApplied(n + 1, kParts);
    }
    for (int c = 0; c < model::kChannels; ++c) {
        notch::LoadAutoSettings(s_.settings, s_.image, c);
        {
            UpdateGuard guard(s_.flags);
            for (const AutoSetting setting : notch::kAutoSettings)
                autos_.setControlValue(setting, c, notch::ControlFromState(setting, s_.settings(setting, c)));
        }
        std::vector<devlink::Payload> frames = FramesOf(s_, [&] { autos_.sendChannelSettings(c, false); });
        co_await s_.link.commands(std::move(frames));
        s_.reportApplied(model::kNotches + c + 1, kParts);
    }
}

void PresetApplier::fillFromImage() {
    s_.flags.channelsLinked = false;
    s_.link.flags().suppressSend = true;
    // Nothing is sent, so nothing waits.
    devlink::RunToEnd(applyPresetToEditor());
    s_.link.flags().suppressSend = false;
}

void PresetApplier::fillFromDefaultImage() {
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), s_.image.begin());
    s_.flags.channelsLinked = false;
    s_.link.flags().suppressSend = true;
    devlink::RunToEnd(applyPresetToEditor());
}

devlink::Task<void> PresetApplier::copyLeftToRight() { return copyChannel(0, 1); }

// The same with the channels exchanged, except that the Left channel's
// sensitivity is sent after its two speed settings.
devlink::Task<void> PresetApplier::copyRightToLeft() { return copyChannel(1, 0); }

devlink::Task<void> PresetApplier::copyChannel(int from, int to) {
    constexpr int kParts = model::kRowsPerChannel + 1;
    s_.reportApplied(0, kParts);
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int src = model::NotchIndex(from, k);
        const int dst = model::NotchIndex(to, k);
        std::copy_n(s_.image.begin() + model::NotchRecordOffset[src], 4,
                    s_.image.begin() + model::NotchRecordOffset[dst]);
        const NotchRowControls& source = s_.controls.rows[src];
        const NotchRowControls& target = s_.controls.rows[dst];
        // A source box holding no number copies the frequency last sent for
        // the source notch, so the copy really carries the source channel.
        const QString freqText = model::ParseNumber(source.freqBox->text().toStdString())
                                     ? source.freqBox->text()
                                     : QString::fromStdString(model::FormatNumber(s_.sent.freqHz[src]));
        {
            UpdateGuard guard(s_.flags);
            target.gainBar->setValue(source.gainBar->value());
            target.freqBox->setText(freqText);
            target.widthBar->setValue(source.widthBar->value());
            target.freqBar->setValue(source.freqBar->value());
        }
        std::vector<devlink::Payload> frames = FramesOf(s_, [&] { rows_.applyNotch(dst); });
        co_await s_.link.commands(std::move(frames));
        s_.reportApplied(k + 1, kParts);
    }
    for (const AutoSetting setting : notch::kAutoSettings)
        s_.settings(setting, to) = s_.image[notch::ImageOffset(setting, from)];
    {
        UpdateGuard guard(s_.flags);
        for (const AutoSetting setting : notch::kAutoSettings)
            autos_.setControlValue(setting, to, notch::ControlFromState(setting, s_.settings(setting, from)));
    }
    std::vector<devlink::Payload> frames = FramesOf(s_, [&] { autos_.sendChannelSettings(to, to == 0); });
    co_await s_.link.commands(std::move(frames));
    s_.reportApplied(kParts, kParts);
}

}  // namespace editor
