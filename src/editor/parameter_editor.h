#pragma once
// The parameter editor "Parameters Control": both channels' notch rows,
// automatic search settings and response graphs. Every edit is written into
// the preset image and sent to the device at once; while the channels are
// linked it is repeated on the other channel.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <span>

#include "ui/user_dialogs.h"
#include "editor/editor_controls.h"
#include "editor/editor_flags.h"
#include "editor/typed_key_filter.h"
#include "devlink/device_link.h"
#include "model/preset_image.h"
#include "notch/auto_settings.h"
#include "notch/notch_arrays.h"
#include "notch/response.h"

namespace editor {

class ParameterEditor : public QWidget {
    Q_OBJECT
public:
    ParameterEditor(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent = nullptr);

    EditorFlags& flags() { return flags_; }
    const EditorControls& controls() const { return controls_; }
    const notch::NotchArrays& notchArrays() const { return arrays_; }
    const notch::AutoSettings& autoSettings() const { return settings_; }
    const notch::ResponseTables& responses() const { return responses_; }

    // Shows the whole image and passes every parameter to the send
    // procedures: all notches (Left, then Right), then each channel's
    // automatic settings. Out-of-range codes are clamped in the image first.
    void applyPresetToEditor();
    // For an image the device already holds: unlinks, applies with sending
    // suppressed, then allows sending again.
    void fillFromImage();
    // Demo mode: the image takes the default preset and is applied with
    // sending suppressed; sending stays suppressed (start-up clears it).
    void fillFromDefaultImage();
    void copyLeftToRight();
    void copyRightToLeft();

    // Row n's controls into the image record and a SetNotch frame.
    void sendNotch(int n);
    // Recomputes notch n's response and redraws its channel's curve.
    void computeNotchResponse(int n);
    void redrawGraph();
    void enableManualNotches(int channel);

    // Commit procedures of the automatic settings: each reads its control,
    // stores, shows, writes the image byte and sends.
    void sendAutoNotchCount(int channel);
    void sendAutoNotchWidth(int channel);
    void sendAttenuation(int channel);
    void sendSensitivity(int channel);
    void sendReleaseSpeed(int channel);
    void sendSearchMode(int channel);

    // Enables (false) or disables (true) every control a running search
    // owns: both channels' automatic settings (sensitivityBox excepted) and notch
    // frames, the reset buttons, the link box, then whatever the extension
    // adds. Disabling a notch frame keeps its rows' own enabling, so
    // unlocking brings back exactly the rows that were usable before.
    void setSearchLock(bool lock);
    // Called by setSearchLock after the link box, with the same argument: the
    // main window locks its preset and copy buttons there.
    void setSearchLockExtension(std::function<void(bool lock)> extension);
    // The link box's handler: unlinks when it is unchecked; links, after
    // asking to copy Left onto Right when the halves differ, when checked.
    void linkChannels();
    // A report the device sent during a search (its first seven bytes):
    // shows the notch it names in the image, its row and the graph, and sends
    // nothing back. A report that names no real notch or code changes
    // nothing. The link acknowledges every report itself.
    void applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> report);

    void setPresetSource(const QString& text);   // presetSourceLabel
    void showPresetTitle(const QString& title);  // presetTitleLabel, repainted at once
    QString presetSource() const;
    QString presetTitle() const;

protected:
    // The editor lives as long as the program; only the main window ends it.
    void closeEvent(QCloseEvent* event) override;

private:
    using AutoSetting = notch::AutoSetting;

    void connectControls();
    TypedKeyFilter::Handlers boxHandlers(std::function<bool()> commit, const char* warning);
    // sendNotch, then computeNotchResponse.
    void applyNotch(int n);
    // Repaints a control now when a frame exchange is about to block the
    // window, so the user sees the value being sent.
    void showNow(QWidget* widget);
    void refreshRowTips(int n);

    // Manual notch rows.
    void onGainBarChanged(int n);
    void onFreqBarChanged(int n);
    void onWidthBarChanged(int n);
    bool commitGainBox(int n);
    bool commitFreqBox(int n);
    void onResetClicked(int index);
    void resetChannel(int channel, bool automaticRows);

    // Automatic settings.
    void onSpinChanged(AutoSetting setting, int channel);
    void onQSpinExtra(int channel);
    void onSliderMoved(int channel);
    bool commitSensitivityBox(int channel);
    void mirrorSensitivity(int from);
    // Control value into state, image byte and value text.
    void storeSetting(AutoSetting setting, int channel);
    void showSetting(AutoSetting setting, int channel);
    void commitSetting(AutoSetting setting, int channel);
    void setSliderQuietly(int channel, int position);
    int controlValue(AutoSetting setting, int channel) const;
    void setControlValue(AutoSetting setting, int channel, int value);

    // Presets.
    void showNotchRecord(int n);
    void sendChannelSettings(int channel, bool sensitivityLast);
    void copyChannel(int from, int to);

    // Search and link boxes.
    void onSearchBoxClicked(int k, bool checked);
    void startSearch(int k);
    void stopSearch(int k);
    void enableOtherSearchBoxes(int k, bool enabled);

    model::PresetImage& image_;
    devlink::DeviceLink& link_;
    ui::UserDialogs& dialogs_;
    EditorFlags flags_;
    EditorControls controls_;
    notch::NotchArrays arrays_;
    notch::AutoSettings settings_;
    notch::ResponseTables responses_;
    std::function<void(bool lock)> lockExtension_;
};

}  // namespace editor
