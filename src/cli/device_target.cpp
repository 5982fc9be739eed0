#include "cli/device_target.h"

#include <algorithm>

#include "cli/channel_commands.h"
#include "cli/device_reads.h"
#include "notch/preset_frames.h"
#include "notch/search_frames.h"
#include "notch/search_report.h"
#include "remote/remote_state.h"

namespace cli {
namespace {

const QString kSearchOwnsRows = QStringLiteral("A search is running: stop it first");
const QString kLost = QStringLiteral("The device stopped answering");

SetCommand NotchSet(const remote::NotchRequest& r) {
    SetCommand set;
    set.channel = r.channel;
    set.row = r.row;
    switch (r.field) {
    case remote::NotchField::Frequency: set.notch.freqCode = r.value; break;
    case remote::NotchField::Gain: set.notch.gainCode = r.value + model::kMaxGainCode; break;
    case remote::NotchField::Width: set.notch.widthCode = r.value; break;
    }
    return set;
}

SetCommand SettingSet(const remote::SettingRequest& r) {
    SetCommand set;
    set.channel = r.channel;
    switch (r.setting) {
    case notch::AutoSetting::NumNotchAuto: set.autos.count = r.value; break;
    case notch::AutoSetting::QNotchAuto: set.autos.width = r.value; break;
    case notch::AutoSetting::AttenuationMode: set.autos.depth = r.value; break;
    case notch::AutoSetting::Sensitivity: set.autos.sensitivity = r.value; break;
    case notch::AutoSetting::ReleaseSpeed: set.autos.release = r.value; break;
    case notch::AutoSetting::SearchMode: set.autos.mode = r.value; break;
    }
    return set;
}

}  // namespace

QJsonObject DeviceTarget::state() const {
    remote::Activity activity;
    activity.search = search_;
    activity.online = !link_.ended();
    activity.status = activity.online ? status_ : QStringLiteral("Offline: ") + (offline_.isEmpty() ? kLost : offline_);
    return remote::StateMessage(image_, activity);
}

QString DeviceTarget::send(const std::vector<devlink::Payload>& frames) {
    for (const devlink::Payload& frame : frames) {
        link_.sendCommand(frame);
        if (link_.ended()) break;
    }
    emit changed();
    return link_.ended() ? kLost : QString();
}

QString DeviceTarget::apply(const remote::Request& request, int /*client*/) {
    if (link_.lost()) {
        // Kept, as the editor keeps an edit made offline: it goes to the
        // device with the rest when the device answers again.
        if (const auto* notchEdit = std::get_if<remote::NotchRequest>(&request)) {
            QString refusal = PlanSet(NotchSet(*notchEdit), image_).refusal;
            emit changed();
            return refusal;
        }
        if (const auto* setting = std::get_if<remote::SettingRequest>(&request)) {
            PlanSet(SettingSet(*setting), image_);
            emit changed();
            return {};
        }
        return kLost;
    }
    if (const auto* notchEdit = std::get_if<remote::NotchRequest>(&request)) {
        if (searchRunning()) return kSearchOwnsRows;
        const SetPlan plan = PlanSet(NotchSet(*notchEdit), image_);
        if (!plan.refusal.isEmpty()) return plan.refusal;
        return send(plan.frames);
    }
    if (const auto* setting = std::get_if<remote::SettingRequest>(&request)) {
        if (searchRunning()) return kSearchOwnsRows;
        return send(PlanSet(SettingSet(*setting), image_).frames);
    }
    if (const auto* searchEdit = std::get_if<remote::SearchRequest>(&request))
        return search(searchEdit->selector, searchEdit->on);
    if (std::holds_alternative<remote::AnswerRequest>(request)) return QStringLiteral("No question is open");
    return QStringLiteral("Linking and resetting are done in the editor");
}

QString DeviceTarget::search(int selector, bool on) {
    if (on) {
        if (searchRunning()) return search_ == selector ? QString() : kSearchOwnsRows;
        link_.sendCommand(notch::SearchStartPayload(image_, static_cast<std::uint8_t>(selector)));
        if (link_.ended()) return emit changed(), kLost;
        search_ = selector;
        emit changed();
        return {};
    }
    if (search_ != selector) return searchRunning() ? QStringLiteral("Another search is running") : QString();
    stopSearch();
    return link_.ended() ? kLost : QString();
}

void DeviceTarget::stopSearch() {
    if (!searchRunning()) return;
    // The editor's stop: twice, and twice more after a one-channel search.
    const devlink::Payload stop = notch::SearchStopPayload(image_);
    const int stops = search_ == 0 ? 2 : 4;
    search_ = -1;
    for (int i = 0; i < stops && !link_.ended(); ++i) link_.sendCommand(stop);
    emit changed();
}

void DeviceTarget::wentOffline(const QString& why) {
    if (!offline_.isEmpty()) return;
    offline_ = why.isEmpty() ? kLost : why;
    search_ = -1;  // the device cannot be told; it stops by itself when it restarts
    emit changed();
}

bool DeviceTarget::cameBack() {
    offline_.clear();
    model::PresetImage device{};
    if (!ReadCurrentSettings(link_, device)) return false;
    if (!std::equal(device.begin(), device.begin() + model::kBlockSize, image_.begin()))
        for (const devlink::Payload& frame : notch::PresetApplicationPayloads(image_)) {
            link_.sendCommand(frame);
            if (link_.ended()) return false;
        }
    emit changed();
    return true;
}

void DeviceTarget::takeReports() {
    if (!searchRunning()) {
        // Nobody waits for what comes now; a port that failed meanwhile
        // is noticed here rather than at the next edit.
        link_.dropIdleInput();
        if (link_.ended()) emit changed();
        return;
    }
    bool any = false;
    while (link_.pollSearchReports([&](auto bytes) {
        if (const auto report = notch::DecodeSearchReport(bytes)) {
            notch::StoreSearchReport(*report, image_);
            any = true;
        }
    })) {}
    if (any || link_.ended()) emit changed();
}

}  // namespace cli
