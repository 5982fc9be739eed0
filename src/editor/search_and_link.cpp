#include "editor/search_and_link.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "editor/search_boxes.h"
#include "editor/step_names.h"
#include "notch/channel_edits.h"
#include "notch/search_frames.h"
#include "notch/search_report.h"

namespace editor {
namespace {

using notch::AutoSetting;

}  // namespace

void SearchAndLink::connectControls() {
    // Every change of state counts, whether a click, the Space key or a
    // screen reader's toggle made it; the program's own checking and
    // unchecking (under the update guard) neither starts a search nor asks
    // to link.
    QObject::connect(s_.controls.linkBox, &QCheckBox::toggled, s_.window, [this](bool checked) {
        if (s_.flags.updatingControls) return;
        if (s_.editRefused()) {
            UpdateGuard guard(s_.flags);
            s_.controls.linkBox->setChecked(!checked);
            return;
        }
        // One step, taken once a copy the link asks for has gone out.
        linkChannels([this] { s_.finishStep(LinkStepText(s_.flags.channelsLinked)); });
    });
    for (int k = 0; k < static_cast<int>(s_.controls.searchButtons.size()); ++k)
        QObject::connect(s_.controls.searchButtons[k], &QPushButton::toggled, s_.window, [this, k](bool checked) {
            if (s_.flags.updatingControls) return;
            if (s_.editRefused()) {
                UpdateGuard guard(s_.flags);
                s_.controls.searchButtons[k]->setChecked(!checked);
                return;
            }
            onSearchBoxToggled(k, checked);
        });
}

void SearchAndLink::onSearchBoxToggled(int k, bool checked) {
    if (checked)
        startSearch(k);
    else
        stopSearch(k);
}

void SearchAndLink::startSearch(int k) {
    ShowSearchRunning(s_.controls, k, true);
    enableOtherSearchBoxes(k, false);
    setSearchLock(true);
    s_.send(notch::SearchStartPayload(s_.image, static_cast<std::uint8_t>(k)));
    s_.flags.searchRunning = true;
}

// The device is told twice that every search is over, and a one-channel
// search twice more after the controls are back.
void SearchAndLink::stopSearch(int k) {
    s_.flags.searchRunning = false;
    // Checked again before its stop frames are out, the start would go
    // after them while this job unlocked everything.
    s_.controls.searchButtons[k]->setEnabled(false);
    // One job: the repeats are meant, and queued one by one they would be
    // taken for the same value sent again.
    s_.link.jobs().run([this, k]() -> devlink::Task<void> {
        const ui::BusyPointer busy(s_.dialogs);
        const devlink::Payload stop = notch::SearchStopPayload(s_.image);
        co_await s_.link.command(stop);
        co_await s_.link.command(stop);
        s_.controls.searchButtons[k]->setEnabled(true);
        enableOtherSearchBoxes(k, true);
        setSearchLock(false);
        ShowSearchRunning(s_.controls, k, false);
        if (k != 0) {
            co_await s_.link.command(stop);
            co_await s_.link.command(stop);
        }
    });
}

void SearchAndLink::enableOtherSearchBoxes(int k, bool enabled) {
    for (int other = 0; other < static_cast<int>(s_.controls.searchButtons.size()); ++other)
        if (other != k) s_.controls.searchButtons[other]->setEnabled(enabled);
}

void SearchAndLink::setSearchAvailable(bool available) {
    // No search runs while the device is away, so every box comes back.
    for (QPushButton* box : s_.controls.searchButtons) box->setEnabled(available);
}

void SearchAndLink::setSearchLock(bool lock) {
    for (int b = 0; b < model::kChannels; ++b) {
        const ChannelSettingsControls& s = s_.controls.settings[b];
        for (const AutoSetting setting :
             {AutoSetting::NumNotchAuto, AutoSetting::QNotchAuto, AutoSetting::AttenuationMode,
              AutoSetting::ReleaseSpeed, AutoSetting::SearchMode})
            s.spinOf(setting)->setEnabled(!lock);
        s.sensitivitySlider->setEnabled(!lock);
        s_.controls.notchRowsFrame[b]->setEnabled(!lock);
    }
    for (QPushButton* reset : s_.controls.resetButtons) reset->setEnabled(!lock);
    s_.controls.linkBox->setEnabled(!lock);
    if (lockExtension_) lockExtension_(lock);
}

void SearchAndLink::setSearchLockExtension(std::function<void(bool lock)> extension) {
    lockExtension_ = std::move(extension);
}

void SearchAndLink::applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> bytes) {
    const std::optional<notch::SearchReport> report = notch::DecodeSearchReport(bytes);
    if (!report) return;
    const int n = report->n;
    notch::StoreSearchReport(*report, s_.image);
    if (report->kind == notch::ReportKind::Notch) {
        rows_.showNotchRecord(n);  // gain, width, frequency text and bar, under the guard
    } else {
        UpdateGuard guard(s_.flags);
        s_.controls.rows[n].gainBar->setValue(report->codes.gain);
    }
    // The device placed this notch itself: the row's texts, arrays and image
    // record follow it, and nothing goes back.
    bool& suppress = s_.link.flags().suppressSend;
    const bool wasSuppressed = suppress;
    suppress = true;
    rows_.sendNotch(n);
    suppress = wasSuppressed;
    rows_.computeNotchResponse(n);
}

void SearchAndLink::linkChannels(const std::function<void()>& done) {
    if (!s_.controls.linkBox->isChecked()) {
        s_.flags.channelsLinked = false;
        done();
        return;
    }
    // Compared now rather than taken from the last periodic comparison, which
    // may be seconds old: an edit made since must not be linked over unasked.
    s_.flags.channelsDiffer = model::HalvesDiffer(s_.image);
    if (!s_.flags.channelsDiffer) {
        s_.flags.channelsLinked = true;
        done();
        return;
    }
    if (!s_.dialogs.confirm(QString::fromLatin1(notch::kLinkQuestion), QString::fromLatin1(notch::kLinkTitle),
                            ui::Answer::Yes, ui::Icon::None, s_.window)) {
        // The program unchecking the box runs no handler: run what the
        // user's unchecking would.
        {
            UpdateGuard guard(s_.flags);
            s_.controls.linkBox->setChecked(false);
        }
        linkChannels(done);
        return;
    }
    const bool started = RunTransfer(
        s_.link, s_.dialogs, "copying the left channel to the right",
        [this]() -> devlink::Task<void> {
            co_await presets_.copyLeftToRight();
            s_.flags.channelsLinked = true;
        },
        done);
    if (!started) {
        UpdateGuard guard(s_.flags);
        s_.controls.linkBox->setChecked(false);
    }
}

}  // namespace editor
