// Whole presets into the editor, and one channel copied onto the other.
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "editor/frm_eq.h"
#include "model/number_text.h"

namespace editor {

void FrmEq::ApplyPresetToEditor() {
    // A damaged file or line may hold any byte; every code must index its
    // tables safely, and the image keeps what the editor then shows.
    model::ClampImageCodes(image_);
    controls_.Check2->setChecked(false);  // a click would run LinkChannels; this does not
    flags_.channelsLinked = false;
    for (int n = 0; n < model::kNotches; ++n) {
        showNotchRecord(n);
        applyNotch(n);
    }
    for (int c = 0; c < model::kChannels; ++c) {
        notch::LoadAutoSettings(settings_, image_, c);
        {
            UpdateGuard guard(flags_);
            for (const AutoSetting setting : notch::kAutoSettings)
                setControlValue(setting, c, notch::ControlFromState(setting, settings_(setting, c)));
        }
        sendChannelSettings(c, false);
    }
}

void FrmEq::showNotchRecord(int n) {
    const model::NotchCodes codes = model::ReadNotchRecord(image_, n);
    const NotchRowControls& row = controls_.rows[n];
    UpdateGuard guard(flags_);
    row.HScroll20->setValue(codes.gain);
    row.HScroll30->setValue(codes.width);
    row.Text2->setText(QString::fromStdString(model::FormatNumber(model::FreqTable.at(codes.freq))));
    row.HScroll6->setValue(codes.freq);
}

void FrmEq::sendChannelSettings(int channel, bool sensitivityLast) {
    SendNumNotchAutomatic(channel);
    SendQNotchAutomatic(channel);
    SendAttenuationNotch(channel);
    if (!sensitivityLast) SendSensitivity(channel);
    SendReleaseNotch(channel);
    SendModeSearch(channel);
    if (sensitivityLast) SendSensitivity(channel);
    EnableManualNotches(channel);
}

void FrmEq::FillFromImage() {
    flags_.channelsLinked = false;
    link_.flags().suppressSend = true;
    ApplyPresetToEditor();
    link_.flags().suppressSend = false;
}

void FrmEq::FillFromDefaultImage() {
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image_.begin());
    flags_.channelsLinked = false;
    link_.flags().suppressSend = true;
    ApplyPresetToEditor();
}

void FrmEq::CopyChannelLeftToRight() { copyChannel(0, 1); }

// The same with the channels exchanged, except that the Left channel's
// sensitivity is sent after its two speed settings.
void FrmEq::CopyChannelRightToLeft() { copyChannel(1, 0); }

void FrmEq::copyChannel(int from, int to) {
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int src = model::NotchIndex(from, k);
        const int dst = model::NotchIndex(to, k);
        std::copy_n(image_.begin() + model::NotchRecordOffset[src], 4, image_.begin() + model::NotchRecordOffset[dst]);
        const NotchRowControls& source = controls_.rows[src];
        const NotchRowControls& target = controls_.rows[dst];
        // A source box holding no number copies the frequency last sent for
        // the source notch, so the copy really carries the source channel.
        const QString freqText = model::ParseNumber(source.Text2->text().toStdString())
                                     ? source.Text2->text()
                                     : QString::fromStdString(model::FormatNumber(arrays_.NotchFreq[src]));
        {
            UpdateGuard guard(flags_);
            target.HScroll20->setValue(source.HScroll20->value());
            target.Text2->setText(freqText);
            target.HScroll30->setValue(source.HScroll30->value());
            target.HScroll6->setValue(source.HScroll6->value());
        }
        applyNotch(dst);
    }
    for (const AutoSetting setting : notch::kAutoSettings)
        settings_(setting, to) = image_[notch::ImageOffset(setting, from)];
    {
        UpdateGuard guard(flags_);
        for (const AutoSetting setting : notch::kAutoSettings)
            setControlValue(setting, to, notch::ControlFromState(setting, settings_(setting, from)));
    }
    sendChannelSettings(to, to == 0);
}

}  // namespace editor
