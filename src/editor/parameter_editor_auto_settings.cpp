// The automatic search settings of each channel: five spin arrows and the
// sensitivity slider with its box. A handler always stores and shows; it
// sends and mirrors to the other channel only when the user made the
// change.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "editor/parameter_editor.h"
#include "notch/typed_entry.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

int OtherChannel(int channel) { return 1 - channel; }

}  // namespace

int ParameterEditor::controlValue(AutoSetting setting, int channel) const {
    const ChannelSettingsControls& s = controls_.settings.at(static_cast<std::size_t>(channel));
    return setting == AutoSetting::Sensitivity ? s.sensitivitySlider->value() : s.spinOf(setting)->value();
}

void ParameterEditor::setControlValue(AutoSetting setting, int channel, int value) {
    if (setting == AutoSetting::Sensitivity)
        setSliderQuietly(channel, value);
    else
        controls_.settings[channel].spinOf(setting)->setValue(value);
}

void ParameterEditor::setSliderQuietly(int channel, int position) {
    QSlider* slider = controls_.settings[channel].sensitivitySlider;
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
}

void ParameterEditor::storeSetting(AutoSetting setting, int channel) {
    const int state = notch::StateFromControl(setting, controlValue(setting, channel));
    settings_(setting, channel) = state;
    image_[notch::ImageOffset(setting, channel)] = static_cast<std::uint8_t>(state);
    showSetting(setting, channel);
}

void ParameterEditor::showSetting(AutoSetting setting, int channel) {
    const int state = settings_(setting, channel);
    const QString text = QString::fromStdString(notch::ValueText(setting, state));
    const QString tip = setting == AutoSetting::QNotchAuto ? QString::fromStdString(notch::WidthWithUnit(state)) : text;
    const ChannelSettingsControls& s = controls_.settings[channel];
    if (setting == AutoSetting::Sensitivity) {
        s.sensitivityBox->setText(text);
        s.sensitivityBox->setToolTip(tip);
        s.sensitivitySlider->setToolTip(tip);
        showNow(s.sensitivityBox);
        return;
    }
    s.valueTextOf(setting)->setText(text);
    s.spinOf(setting)->setToolTip(tip);
    showNow(s.valueTextOf(setting));
}

void ParameterEditor::onSpinChanged(AutoSetting setting, int channel) {
    storeSetting(setting, channel);
    if (flags_.updatingControls) return;
    if (setting == AutoSetting::QNotchAuto) {
        onQSpinExtra(channel);
        return;
    }
    commitSetting(setting, channel);
    if (!flags_.channelsLinked) return;
    const int other = OtherChannel(channel);
    {
        UpdateGuard guard(flags_);
        setControlValue(setting, other, controlValue(setting, channel));
    }
    commitSetting(setting, other);
}

void ParameterEditor::onQSpinExtra(int channel) {
    sendAutoNotchWidth(channel);
    if (!flags_.channelsLinked) return;
    const int other = OtherChannel(channel);
    {
        UpdateGuard guard(flags_);
        setControlValue(AutoSetting::QNotchAuto, other, controlValue(AutoSetting::QNotchAuto, channel));
    }
    // The other channel's own automatic rows take the width: a row that is
    // manual there keeps the width it has in the image and the device.
    sendAutoNotchWidth(other);
}

void ParameterEditor::commitSetting(AutoSetting setting, int channel) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: sendAutoNotchCount(channel); break;
    case AutoSetting::QNotchAuto: sendAutoNotchWidth(channel); break;
    case AutoSetting::AttenuationMode: sendAttenuation(channel); break;
    case AutoSetting::Sensitivity: sendSensitivity(channel); break;
    case AutoSetting::ReleaseSpeed: sendReleaseSpeed(channel); break;
    case AutoSetting::SearchMode: sendSearchMode(channel); break;
    }
}

void ParameterEditor::sendAutoNotchCount(int channel) {
    storeSetting(AutoSetting::NumNotchAuto, channel);
    enableManualNotches(channel);
    link_.sendCommand(notch::CommitPayload(AutoSetting::NumNotchAuto, image_, channel));
}

void ParameterEditor::sendAutoNotchWidth(int channel) {
    storeSetting(AutoSetting::QNotchAuto, channel);
    // The automatic rows always carry the automatic width, whatever they
    // held before.
    const int q = settings_.qNotchAuto[channel];
    const QString name = QString::fromStdString(notch::ValueText(AutoSetting::QNotchAuto, q));
    const int end = std::clamp(settings_.numNotchAuto[channel], 0, model::kRowsPerChannel);
    for (int k = 0; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        const NotchRowControls& row = controls_.rows[n];
        {
            UpdateGuard guard(flags_);
            row.widthBar->setValue(q);
            row.widthText->setText(name);
            showNow(row.widthText);
        }
        arrays_.widthCode[n] = q;
        image_[model::NotchRecordOffset[n] + 3] = static_cast<std::uint8_t>(q);
        refreshRowTips(n);
    }
    link_.sendCommand(notch::CommitPayload(AutoSetting::QNotchAuto, image_, channel));
}

void ParameterEditor::sendAttenuation(int channel) {
    storeSetting(AutoSetting::AttenuationMode, channel);
    link_.sendCommand(notch::CommitPayload(AutoSetting::AttenuationMode, image_, channel));
}

void ParameterEditor::sendSensitivity(int channel) {
    storeSetting(AutoSetting::Sensitivity, channel);
    link_.sendCommand(notch::CommitPayload(AutoSetting::Sensitivity, image_, channel));
}

void ParameterEditor::sendReleaseSpeed(int channel) {
    storeSetting(AutoSetting::ReleaseSpeed, channel);
    link_.sendCommand(notch::CommitPayload(AutoSetting::ReleaseSpeed, image_, channel));
}

void ParameterEditor::sendSearchMode(int channel) {
    storeSetting(AutoSetting::SearchMode, channel);
    link_.sendCommand(notch::CommitPayload(AutoSetting::SearchMode, image_, channel));
}

void ParameterEditor::onSliderMoved(int channel) {
    storeSetting(AutoSetting::Sensitivity, channel);
    if (flags_.updatingControls) return;
    sendSensitivity(channel);
    if (flags_.channelsLinked) mirrorSensitivity(channel);
}

void ParameterEditor::mirrorSensitivity(int from) {
    const int other = OtherChannel(from);
    {
        UpdateGuard guard(flags_);
        setSliderQuietly(other, controls_.settings[from].sensitivitySlider->value());
        controls_.settings[other].sensitivityBox->setText(QString::number(settings_.sensitivity[from] + 1));
        showNow(controls_.settings[other].sensitivityBox);
    }
    sendSensitivity(other);
}

bool ParameterEditor::commitSensitivityBox(int channel) {
    const ChannelSettingsControls& s = controls_.settings[channel];
    const auto snapped = notch::SnapTypedSensitivity(s.sensitivityBox->text().toStdString());
    if (!snapped) return false;
    s.sensitivityBox->setText(QString::fromStdString(snapped->text));
    setSliderQuietly(channel, snapped->position);
    storeSetting(AutoSetting::Sensitivity, channel);
    if (!flags_.updatingControls) {
        sendSensitivity(channel);
        if (flags_.channelsLinked) mirrorSensitivity(channel);
    }
    return true;
}

}  // namespace editor
