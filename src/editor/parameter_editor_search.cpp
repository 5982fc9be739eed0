// The search boxes, the locking of what a running search owns, and the
// device's reports while it runs.
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "editor/parameter_editor.h"
#include "notch/search_frames.h"
#include "notch/search_report.h"

namespace editor {

void ParameterEditor::onSearchBoxClicked(int k, bool checked) {
    if (checked)
        startSearch(k);
    else
        stopSearch(k);
}

void ParameterEditor::startSearch(int k) {
    enableOtherSearchBoxes(k, false);
    setSearchLock(true);
    link_.sendCommand(notch::SearchStartPayload(image_, static_cast<std::uint8_t>(k)));
    flags_.searchRunning = true;
}

// The device is told twice that every search is over, and a one-channel
// search twice more after the controls are back.
void ParameterEditor::stopSearch(int k) {
    ui::BusyPointer busy(dialogs_);
    flags_.searchRunning = false;
    const devlink::Payload stop = notch::SearchStopPayload(image_);
    link_.sendCommand(stop);
    link_.sendCommand(stop);
    enableOtherSearchBoxes(k, true);
    setSearchLock(false);
    if (k != 0) {
        link_.sendCommand(stop);
        link_.sendCommand(stop);
    }
}

void ParameterEditor::enableOtherSearchBoxes(int k, bool enabled) {
    for (int other = 0; other < static_cast<int>(controls_.searchButtons.size()); ++other)
        if (other != k) controls_.searchButtons[other]->setEnabled(enabled);
}

void ParameterEditor::setSearchLock(bool lock) {
    for (int b = 0; b < model::kChannels; ++b) {
        const ChannelSettingsControls& s = controls_.settings[b];
        for (const AutoSetting setting : {AutoSetting::NumNotchAuto, AutoSetting::QNotchAuto, AutoSetting::AttenuationMode,
                                          AutoSetting::ReleaseSpeed, AutoSetting::SearchMode})
            s.spinOf(setting)->setEnabled(!lock);
        s.sensitivitySlider->setEnabled(!lock);
        controls_.notchRowsFrame[b]->setEnabled(!lock);
    }
    for (QPushButton* reset : controls_.resetButtons) reset->setEnabled(!lock);
    controls_.linkBox->setEnabled(!lock);
    if (lockExtension_) lockExtension_(lock);
}

void ParameterEditor::setSearchLockExtension(std::function<void(bool lock)> extension) { lockExtension_ = std::move(extension); }

void ParameterEditor::applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> bytes) {
    const std::optional<notch::SearchReport> report = notch::DecodeSearchReport(bytes);
    if (!report) return;
    const int n = report->n;
    notch::StoreSearchReport(*report, image_);
    if (report->kind == notch::ReportKind::Notch) {
        showNotchRecord(n);  // gain, width, frequency text and bar, under the guard
    } else {
        UpdateGuard guard(flags_);
        controls_.rows[n].gainBar->setValue(report->codes.gain);
    }
    // The device placed this notch itself: the row's texts, arrays and image
    // record follow it, and nothing goes back.
    bool& suppress = link_.flags().suppressSend;
    const bool wasSuppressed = suppress;
    suppress = true;
    sendNotch(n);
    suppress = wasSuppressed;
    computeNotchResponse(n);
}

}  // namespace editor
