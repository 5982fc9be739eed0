// Whole presets into the editor, and one channel copied onto the other.
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "editor/parameter_editor.h"
#include "model/number_text.h"

namespace editor {

void ParameterEditor::applyPresetToEditor() {
    // A damaged file or line may hold any byte; every code must index its
    // tables safely, and the image keeps what the editor then shows.
    model::ClampImageCodes(image_);
    controls_.linkBox->setChecked(false);  // a click would run linkChannels; this does not
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

void ParameterEditor::showNotchRecord(int n) {
    const model::NotchCodes codes = model::ReadNotchRecord(image_, n);
    const NotchRowControls& row = controls_.rows[n];
    UpdateGuard guard(flags_);
    row.gainBar->setValue(codes.gain);
    row.widthBar->setValue(codes.width);
    row.freqBox->setText(QString::fromStdString(model::FormatNumber(model::FreqTable.at(codes.freq))));
    row.freqBar->setValue(codes.freq);
}

void ParameterEditor::sendChannelSettings(int channel, bool sensitivityLast) {
    sendAutoNotchCount(channel);
    sendAutoNotchWidth(channel);
    sendAttenuation(channel);
    if (!sensitivityLast) sendSensitivity(channel);
    sendReleaseSpeed(channel);
    sendSearchMode(channel);
    if (sensitivityLast) sendSensitivity(channel);
    enableManualNotches(channel);
}

void ParameterEditor::fillFromImage() {
    flags_.channelsLinked = false;
    link_.flags().suppressSend = true;
    applyPresetToEditor();
    link_.flags().suppressSend = false;
}

void ParameterEditor::fillFromDefaultImage() {
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image_.begin());
    flags_.channelsLinked = false;
    link_.flags().suppressSend = true;
    applyPresetToEditor();
}

void ParameterEditor::copyLeftToRight() { copyChannel(0, 1); }

// The same with the channels exchanged, except that the Left channel's
// sensitivity is sent after its two speed settings.
void ParameterEditor::copyRightToLeft() { copyChannel(1, 0); }

void ParameterEditor::copyChannel(int from, int to) {
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int src = model::NotchIndex(from, k);
        const int dst = model::NotchIndex(to, k);
        std::copy_n(image_.begin() + model::NotchRecordOffset[src], 4, image_.begin() + model::NotchRecordOffset[dst]);
        const NotchRowControls& source = controls_.rows[src];
        const NotchRowControls& target = controls_.rows[dst];
        // A source box holding no number copies the frequency last sent for
        // the source notch, so the copy really carries the source channel.
        const QString freqText = model::ParseNumber(source.freqBox->text().toStdString())
                                     ? source.freqBox->text()
                                     : QString::fromStdString(model::FormatNumber(arrays_.freqHz[src]));
        {
            UpdateGuard guard(flags_);
            target.gainBar->setValue(source.gainBar->value());
            target.freqBox->setText(freqText);
            target.widthBar->setValue(source.widthBar->value());
            target.freqBar->setValue(source.freqBar->value());
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
