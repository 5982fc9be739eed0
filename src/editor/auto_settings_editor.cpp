#include "editor/auto_settings_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "editor/step_names.h"
#include "notch/typed_entry.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

const char* const kIncorrectValue = "  Incorrect value";

int OtherChannel(int channel) { return 1 - channel; }

}  // namespace

void AutoSettingsEditor::connectControls() {
    QWidget* context = s_.window;
    for (int c = 0; c < model::kChannels; ++c) {
        const ChannelSettingsControls& s = s_.controls.settings[c];
        for (const AutoSetting setting : notch::kAutoSettings) {
            if (setting == AutoSetting::Sensitivity) continue;
            QObject::connect(s.spinOf(setting), &QScrollBar::valueChanged, context, [this, setting, c] {
                onSpinChanged(setting, c);
                s_.finishStep(SettingStepText(setting, c));
            });
        }
        // The program sets the slider with its signals blocked, so this
        // runs for the user's moves only.
        QObject::connect(s.sensitivitySlider, &QSlider::valueChanged, context, [this, c] {
            onSliderMoved(c);
            s_.finishStep(SettingStepText(AutoSetting::Sensitivity, c));
        });
        TypedKeyFilter::install(s.sensitivityBox, notch::TypedBox::Sensitivity,
                                rows_.boxHandlers(
                                    [this, c] {
                                        const bool committed = commitSensitivityBox(c);
                                        s_.finishStep(SettingStepText(AutoSetting::Sensitivity, c));
                                        return committed;
                                    },
                                    kIncorrectValue));
    }
}

int AutoSettingsEditor::controlValue(AutoSetting setting, int channel) const {
    const ChannelSettingsControls& s = s_.controls.settings.at(static_cast<std::size_t>(channel));
    return setting == AutoSetting::Sensitivity ? s.sensitivitySlider->value() : s.spinOf(setting)->value();
}

void AutoSettingsEditor::setControlValue(AutoSetting setting, int channel, int value) {
    if (setting == AutoSetting::Sensitivity)
        setSliderQuietly(channel, value);
    else
        s_.controls.settings[channel].spinOf(setting)->setValue(value);
}

void AutoSettingsEditor::setSliderQuietly(int channel, int position) {
    QSlider* slider = s_.controls.settings[channel].sensitivitySlider;
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
}

void AutoSettingsEditor::storeSetting(AutoSetting setting, int channel) {
    const int state = notch::StateFromControl(setting, controlValue(setting, channel));
    s_.settings(setting, channel) = state;
    s_.image[notch::ImageOffset(setting, channel)] = static_cast<std::uint8_t>(state);
    showSetting(setting, channel);
}

void AutoSettingsEditor::showSetting(AutoSetting setting, int channel) {
    const int state = s_.settings(setting, channel);
    const QString text = QString::fromStdString(notch::ValueText(setting, state));
    const QString tip = setting == AutoSetting::QNotchAuto ? QString::fromStdString(notch::WidthWithUnit(state)) : text;
    const QString spoken = QString::fromStdString(notch::SpokenSetting(setting, state));
    const ChannelSettingsControls& s = s_.controls.settings[channel];
    if (setting == AutoSetting::Sensitivity) {
        s.sensitivityBox->setText(text);
        s.sensitivityBox->setToolTip(tip);
        s.sensitivitySlider->setToolTip(tip);
        s.sensitivitySlider->setAccessibleDescription(spoken);
        return;
    }
    s.valueTextOf(setting)->setText(text);
    s.spinOf(setting)->setToolTip(tip);
    s.spinOf(setting)->setAccessibleDescription(spoken);
}

void AutoSettingsEditor::onSpinChanged(AutoSetting setting, int channel) {
    if (s_.editRefused()) {
        UpdateGuard guard(s_.flags);
        setControlValue(setting, channel, notch::ControlFromState(setting, s_.settings(setting, channel)));
        return;
    }
    storeSetting(setting, channel);
    if (s_.flags.updatingControls) return;
    const QScrollBar* spin = s_.controls.settings[channel].spinOf(setting);
    const unsigned edit = s_.beginEdit(spin);
    if (setting == AutoSetting::QNotchAuto) {
        onQSpinExtra(channel, edit);
        return;
    }
    commitSetting(setting, channel);
    if (!s_.flags.channelsLinked || s_.overtaken(spin, edit)) return;
    const int other = OtherChannel(channel);
    {
        UpdateGuard guard(s_.flags);
        setControlValue(setting, other, controlValue(setting, channel));
    }
    commitSetting(setting, other);
}

void AutoSettingsEditor::onQSpinExtra(int channel, unsigned edit) {
    sendAutoNotchWidth(channel);
    if (!s_.flags.channelsLinked || s_.overtaken(s_.controls.settings[channel].spinOf(AutoSetting::QNotchAuto), edit))
        return;
    const int other = OtherChannel(channel);
    {
        UpdateGuard guard(s_.flags);
        setControlValue(AutoSetting::QNotchAuto, other, controlValue(AutoSetting::QNotchAuto, channel));
    }
    // The other channel's own automatic rows take the width: a row that is
    // manual there keeps the width it has in the image and the device.
    sendAutoNotchWidth(other);
}

void AutoSettingsEditor::commitSetting(AutoSetting setting, int channel) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: sendAutoNotchCount(channel); break;
    case AutoSetting::QNotchAuto: sendAutoNotchWidth(channel); break;
    case AutoSetting::AttenuationMode: sendAttenuation(channel); break;
    case AutoSetting::Sensitivity: sendSensitivity(channel); break;
    case AutoSetting::ReleaseSpeed: sendReleaseSpeed(channel); break;
    case AutoSetting::SearchMode: sendSearchMode(channel); break;
    }
}

void AutoSettingsEditor::sendAutoNotchCount(int channel) {
    storeSetting(AutoSetting::NumNotchAuto, channel);
    rows_.enableManualNotches(channel);
    s_.send(notch::CommitPayload(AutoSetting::NumNotchAuto, s_.image, channel));
}

void AutoSettingsEditor::sendAutoNotchWidth(int channel) {
    storeSetting(AutoSetting::QNotchAuto, channel);
    // The automatic rows always carry the automatic width, whatever they
    // held before.
    const int q = s_.settings.qNotchAuto[channel];
    const QString name = QString::fromStdString(notch::ValueText(AutoSetting::QNotchAuto, q));
    const int end = std::clamp(s_.settings.numNotchAuto[channel], 0, model::kRowsPerChannel);
    for (int k = 0; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        const NotchRowControls& row = s_.controls.rows[n];
        {
            UpdateGuard guard(s_.flags);
            row.widthBar->setValue(q);
            row.widthText->setText(name);
        }
        s_.sent.widthCode[n] = q;
        s_.image[model::NotchRecordOffset[n] + 3] = static_cast<std::uint8_t>(q);
        rows_.refreshRowTips(n);
    }
    s_.send(notch::CommitPayload(AutoSetting::QNotchAuto, s_.image, channel));
}

void AutoSettingsEditor::sendAttenuation(int channel) {
    storeSetting(AutoSetting::AttenuationMode, channel);
    s_.send(notch::CommitPayload(AutoSetting::AttenuationMode, s_.image, channel));
}

void AutoSettingsEditor::sendSensitivity(int channel) {
    storeSetting(AutoSetting::Sensitivity, channel);
    s_.send(notch::CommitPayload(AutoSetting::Sensitivity, s_.image, channel));
}

void AutoSettingsEditor::sendReleaseSpeed(int channel) {
    storeSetting(AutoSetting::ReleaseSpeed, channel);
    s_.send(notch::CommitPayload(AutoSetting::ReleaseSpeed, s_.image, channel));
}

void AutoSettingsEditor::sendSearchMode(int channel) {
    storeSetting(AutoSetting::SearchMode, channel);
    s_.send(notch::CommitPayload(AutoSetting::SearchMode, s_.image, channel));
}

void AutoSettingsEditor::onSliderMoved(int channel) {
    if (s_.editRefused()) {
        UpdateGuard guard(s_.flags);
        setControlValue(
            AutoSetting::Sensitivity, channel,
            notch::ControlFromState(AutoSetting::Sensitivity, s_.settings(AutoSetting::Sensitivity, channel)));
        return;
    }
    storeSetting(AutoSetting::Sensitivity, channel);
    if (s_.flags.updatingControls) return;
    const unsigned edit = s_.beginEdit(s_.controls.settings[channel].sensitivitySlider);
    sendSensitivity(channel);
    if (s_.flags.channelsLinked) mirrorSensitivity(channel, edit);
}

void AutoSettingsEditor::mirrorSensitivity(int from, unsigned edit) {
    if (s_.overtaken(s_.controls.settings[from].sensitivitySlider, edit)) return;
    const int other = OtherChannel(from);
    {
        UpdateGuard guard(s_.flags);
        setSliderQuietly(other, s_.controls.settings[from].sensitivitySlider->value());
        s_.controls.settings[other].sensitivityBox->setText(QString::number(s_.settings.sensitivity[from] + 1));
    }
    sendSensitivity(other);
}

bool AutoSettingsEditor::commitSensitivityBox(int channel) {
    const ChannelSettingsControls& s = s_.controls.settings[channel];
    const auto snapped = notch::SnapTypedSensitivity(s.sensitivityBox->text().toStdString());
    if (!snapped) return false;
    if (s_.editRefused()) {  // typed during a transfer: the box shows what was sent
        s.sensitivityBox->setText(QString::number(s_.settings.sensitivity[channel] + 1));
        return true;
    }
    s.sensitivityBox->setText(QString::fromStdString(snapped->text));
    setSliderQuietly(channel, snapped->position);
    storeSetting(AutoSetting::Sensitivity, channel);
    if (!s_.flags.updatingControls) {
        const unsigned edit = s_.beginEdit(s.sensitivitySlider);
        sendSensitivity(channel);
        if (s_.flags.channelsLinked) mirrorSensitivity(channel, edit);
    }
    return true;
}

void AutoSettingsEditor::sendChannelSettings(int channel, bool sensitivityLast) {
    sendAutoNotchCount(channel);
    sendAutoNotchWidth(channel);
    sendAttenuation(channel);
    if (!sensitivityLast) sendSensitivity(channel);
    sendReleaseSpeed(channel);
    sendSearchMode(channel);
    if (sensitivityLast) sendSensitivity(channel);
    rows_.enableManualNotches(channel);
}

}  // namespace editor
