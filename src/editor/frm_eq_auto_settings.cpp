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

#include "editor/frm_eq.h"
#include "notch/typed_entry.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

int OtherChannel(int channel) { return 1 - channel; }

}  // namespace

int FrmEq::controlValue(AutoSetting setting, int channel) const {
    const ChannelSettingsControls& s = controls_.settings.at(static_cast<std::size_t>(channel));
    return setting == AutoSetting::Sensitivity ? s.Slider1->value() : s.spinOf(setting)->value();
}

void FrmEq::setControlValue(AutoSetting setting, int channel, int value) {
    if (setting == AutoSetting::Sensitivity)
        setSliderQuietly(channel, value);
    else
        controls_.settings[channel].spinOf(setting)->setValue(value);
}

void FrmEq::setSliderQuietly(int channel, int position) {
    QSlider* slider = controls_.settings[channel].Slider1;
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
}

void FrmEq::storeSetting(AutoSetting setting, int channel) {
    const int state = notch::StateFromControl(setting, controlValue(setting, channel));
    settings_(setting, channel) = state;
    image_[notch::ImageOffset(setting, channel)] = static_cast<std::uint8_t>(state);
    showSetting(setting, channel);
}

void FrmEq::showSetting(AutoSetting setting, int channel) {
    const int state = settings_(setting, channel);
    const QString text = QString::fromStdString(notch::ValueText(setting, state));
    const QString tip = setting == AutoSetting::QNotchAuto ? QString::fromStdString(notch::WidthWithUnit(state)) : text;
    const ChannelSettingsControls& s = controls_.settings[channel];
    if (setting == AutoSetting::Sensitivity) {
        s.Text4->setText(text);
        s.Text4->setToolTip(tip);
        s.Slider1->setToolTip(tip);
        showNow(s.Text4);
        return;
    }
    s.valueTextOf(setting)->setText(text);
    s.spinOf(setting)->setToolTip(tip);
    showNow(s.valueTextOf(setting));
}

void FrmEq::onSpinChanged(AutoSetting setting, int channel) {
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

void FrmEq::onQSpinExtra(int channel) {
    SendQNotchAutomatic(channel);
    if (!flags_.channelsLinked) return;
    const int other = OtherChannel(channel);
    {
        UpdateGuard guard(flags_);
        setControlValue(AutoSetting::QNotchAuto, other, controlValue(AutoSetting::QNotchAuto, channel));
    }
    // The other channel's own automatic rows take the width: a row that is
    // manual there keeps the width it has in the image and the device.
    SendQNotchAutomatic(other);
}

void FrmEq::commitSetting(AutoSetting setting, int channel) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: SendNumNotchAutomatic(channel); break;
    case AutoSetting::QNotchAuto: SendQNotchAutomatic(channel); break;
    case AutoSetting::AttenuationMode: SendAttenuationNotch(channel); break;
    case AutoSetting::Sensitivity: SendSensitivity(channel); break;
    case AutoSetting::ReleaseSpeed: SendReleaseNotch(channel); break;
    case AutoSetting::SearchMode: SendModeSearch(channel); break;
    }
}

void FrmEq::SendNumNotchAutomatic(int channel) {
    storeSetting(AutoSetting::NumNotchAuto, channel);
    EnableManualNotches(channel);
    link_.SendCommand(notch::CommitPayload(AutoSetting::NumNotchAuto, image_, channel));
}

void FrmEq::SendQNotchAutomatic(int channel) {
    storeSetting(AutoSetting::QNotchAuto, channel);
    // The automatic rows always carry the automatic width, whatever they
    // held before.
    const int q = settings_.QNotchAuto[channel];
    const QString name = QString::fromStdString(notch::ValueText(AutoSetting::QNotchAuto, q));
    const int end = std::clamp(settings_.NumNotchAuto[channel], 0, model::kRowsPerChannel);
    for (int k = 0; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        const NotchRowControls& row = controls_.rows[n];
        {
            UpdateGuard guard(flags_);
            row.HScroll30->setValue(q);
            row.Text3->setText(name);
            showNow(row.Text3);
        }
        arrays_.NotchWidthCode[n] = q;
        image_[model::NotchRecordOffset[n] + 3] = static_cast<std::uint8_t>(q);
        refreshRowTips(n);
    }
    link_.SendCommand(notch::CommitPayload(AutoSetting::QNotchAuto, image_, channel));
}

void FrmEq::SendAttenuationNotch(int channel) {
    storeSetting(AutoSetting::AttenuationMode, channel);
    link_.SendCommand(notch::CommitPayload(AutoSetting::AttenuationMode, image_, channel));
}

void FrmEq::SendSensitivity(int channel) {
    storeSetting(AutoSetting::Sensitivity, channel);
    link_.SendCommand(notch::CommitPayload(AutoSetting::Sensitivity, image_, channel));
}

void FrmEq::SendReleaseNotch(int channel) {
    storeSetting(AutoSetting::ReleaseSpeed, channel);
    link_.SendCommand(notch::CommitPayload(AutoSetting::ReleaseSpeed, image_, channel));
}

void FrmEq::SendModeSearch(int channel) {
    storeSetting(AutoSetting::SearchMode, channel);
    link_.SendCommand(notch::CommitPayload(AutoSetting::SearchMode, image_, channel));
}

void FrmEq::onSliderMoved(int channel) {
    storeSetting(AutoSetting::Sensitivity, channel);
    if (flags_.updatingControls) return;
    SendSensitivity(channel);
    if (flags_.channelsLinked) mirrorSensitivity(channel);
}

void FrmEq::mirrorSensitivity(int from) {
    const int other = OtherChannel(from);
    {
        UpdateGuard guard(flags_);
        setSliderQuietly(other, controls_.settings[from].Slider1->value());
        controls_.settings[other].Text4->setText(QString::number(settings_.Sensitivity[from] + 1));
        showNow(controls_.settings[other].Text4);
    }
    SendSensitivity(other);
}

bool FrmEq::commitSensitivityBox(int channel) {
    const ChannelSettingsControls& s = controls_.settings[channel];
    const auto snapped = notch::SnapTypedSensitivity(s.Text4->text().toStdString());
    if (!snapped) return false;
    s.Text4->setText(QString::fromStdString(snapped->text));
    setSliderQuietly(channel, snapped->position);
    storeSetting(AutoSetting::Sensitivity, channel);
    if (!flags_.updatingControls) {
        SendSensitivity(channel);
        if (flags_.channelsLinked) mirrorSensitivity(channel);
    }
    return true;
}

}  // namespace editor
