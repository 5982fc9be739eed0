#include "cli/device_target.h"

#include <QTime>
#include <algorithm>
#include <memory>
#include <utility>

#include "cli/channel_commands.h"
#include "cli/device_reads.h"
#include "connection/connection_status.h"
#include "model/value_tables.h"
#include "notch/auto_settings.h"
#include "notch/channel_edits.h"
#include "notch/preset_frames.h"
#include "notch/search_frames.h"
#include "notch/search_report.h"
#include "remote/refusals.h"
#include "remote/remote_state.h"

namespace cli {
namespace {

const QString kSearchOwnsRows = QString::fromLatin1(remote::kSearchRunning);
const QString kLost = QStringLiteral("The device stopped answering");

int& FieldOf(model::NotchCodes& codes, remote::NotchField field) {
    switch (field) {
    case remote::NotchField::Frequency: return codes.freq;
    case remote::NotchField::Gain: return codes.gain;
    case remote::NotchField::Width: break;
    }
    return codes.width;
}

// Notch n with the one field the page moved, in the image, and its frame.
devlink::Payload MoveField(model::PresetImage& image, int n, const remote::NotchRequest& r) {
    model::NotchCodes codes = model::ReadNotchRecord(image, n);
    FieldOf(codes, r.field) = r.code();
    model::WriteNotchRecord(image, n, codes);
    return notch::NotchPayload(image, n);
}

}  // namespace

DeviceTarget::DeviceTarget(devlink::DeviceLink& link, model::PresetImage& image)
    : link_(link),
      image_(image),
      workWatch_(link.work().watch([this](devlink::DeviceWork::WorkEvent) { emit changed(); })) {}

QJsonObject DeviceTarget::state() const {
    remote::Activity activity;
    activity.linked = linked_;
    activity.search = search_;
    activity.online = !link_.lost();
    activity.busy = link_.work().busy();
    activity.status = connection::ConnectionStatusText(link_);
    activity.found = &found_;
    return remote::StateMessage(image_, activity);
}

QString DeviceTarget::apply(const remote::Request& request, int client) {
    if (const auto* answer = std::get_if<remote::AnswerRequest>(&request)) {
        const std::optional<remote::Request> asked = questions_.take(answer->id, client);
        if (!asked) return QString::fromLatin1(remote::kNoSuchQuestion);
        return answer->yes ? carryOut(*asked, client, true) : QString();
    }
    return carryOut(request, client, false);
}

QString DeviceTarget::carryOut(const remote::Request& request, int client, bool answeredYes) {
    // While a transfer holds the device the editor refuses every edit; so
    // does this. While the device is away, edits are kept as the editor
    // keeps them: the link sends nothing, and they go out when it is back.
    if (link_.work().busy()) return QString::fromStdString(link_.work().busyText());
    if (const auto* r = std::get_if<remote::NotchRequest>(&request)) return editNotch(*r);
    if (const auto* r = std::get_if<remote::SettingRequest>(&request)) return editSetting(*r);
    if (const auto* r = std::get_if<remote::SearchRequest>(&request)) return search(r->selector, r->on);
    if (const auto* r = std::get_if<remote::LinkRequest>(&request)) return linkChannels(*r, client, answeredYes);
    if (const auto* r = std::get_if<remote::ResetRequest>(&request)) return reset(*r, client, answeredYes);
    return {};
}

QString DeviceTarget::editNotch(const remote::NotchRequest& r) {
    if (searchRunning()) return kSearchOwnsRows;
    if (r.row < notch::AutomaticRowCount(image_, r.channel)) return remote::AutomaticRowRefusal(r.channel, r.row);
    const int n = model::NotchIndex(r.channel, r.row);
    model::NotchCodes codes = model::ReadNotchRecord(image_, n);
    // A control set to the value it has moves nothing, and sends nothing.
    if (FieldOf(codes, r.field) == r.code()) return {};
    std::vector<devlink::Payload> frames{MoveField(image_, n, r)};
    if (linked_) frames.push_back(MoveField(image_, model::PartnerNotch(n), r));
    send(frames);
    return {};
}

QString DeviceTarget::editSetting(const remote::SettingRequest& r) {
    if (searchRunning()) return kSearchOwnsRows;
    if (image_[notch::ImageOffset(r.setting, r.channel)] == r.value) return {};
    std::vector<devlink::Payload> frames{notch::SetAutoSetting(image_, r.setting, r.channel, r.value)};
    if (linked_) frames.push_back(notch::SetAutoSetting(image_, r.setting, 1 - r.channel, r.value));
    send(frames);
    return {};
}

void DeviceTarget::send(const std::vector<devlink::Payload>& frames) {
    for (const devlink::Payload& frame : frames) link_.sendCommand(frame);
    emit changed();
}

QString DeviceTarget::search(int selector, bool on) {
    if (on) {
        if (searchRunning()) return search_ == selector ? QString() : kSearchOwnsRows;
        if (link_.lost()) return kLost;
        search_ = selector;
        searchOnDevice_ = selector;
        link_.sendCommand(notch::SearchStartPayload(image_, static_cast<std::uint8_t>(selector)));
        emit changed();
        return {};
    }
    if (search_ != selector) return searchRunning() ? QString::fromLatin1(remote::kAnotherSearchRunning) : QString();
    stopSearch();
    return {};
}

void DeviceTarget::stopSearch() {
    if (!searchRunning()) return;
    sendStops(std::exchange(search_, -1));
    emit changed();
}

void DeviceTarget::finish(const std::function<void()>& waitForJobs) {
    link_.cancelJobs();
    while (link_.jobs().busy()) waitForJobs();
    stopForExit();
    while (link_.jobs().busy()) waitForJobs();
}

void DeviceTarget::stopForExit() {
    search_ = -1;
    if (searchOnDevice_ >= 0 && !link_.lost()) sendStops(searchOnDevice_);
}

void DeviceTarget::sendStops(int selector) {
    const int stops = selector == 0 ? 2 : 4;
    // The editor's stop: twice, and twice more after a one-channel search,
    // in one job: the repeats are meant, and queued one by one they would
    // be taken for the same value sent again.
    link_.jobs().run([this, stops]() -> devlink::Task<void> {
        const devlink::Payload stop = notch::SearchStopPayload(image_);
        for (int i = 0; i < stops && !link_.ended(); ++i) co_await link_.command(stop);
        // A search started again meanwhile goes out after this job.
        if (!link_.ended() && !searchRunning()) searchOnDevice_ = -1;
    });
}

QString DeviceTarget::linkChannels(const remote::LinkRequest& r, int client, bool answeredYes) {
    if (searchRunning()) return kSearchOwnsRows;
    if (!r.on || linked_ || !model::HalvesDiffer(image_)) {
        linked_ = r.on;
        emit changed();
        return {};
    }
    if (!answeredYes) {
        ask(client, r, notch::kLinkTitle, notch::kLinkQuestion);
        return {};
    }
    // One transfer, the device held from the answer on, as the editor holds
    // it: what comes while the copy waits its turn is refused, never sent
    // after it, and nothing goes out between its frames.
    std::optional<devlink::DeviceWork::Hold> hold = link_.work().tryHold("copying the left channel to the right");
    if (!hold) {
        link_.work().refuse();
        return QString::fromStdString(link_.work().busyText());
    }
    auto held = std::make_shared<devlink::DeviceWork::Hold>(std::move(*hold));
    link_.jobs().run([this, held]() mutable -> devlink::Task<void> {
        co_await link_.commands(notch::CopyLeftToRight(image_));
        linked_ = true;
        held.reset();
        emit changed();
    });
    return {};
}

QString DeviceTarget::reset(const remote::ResetRequest& r, int client, bool answeredYes) {
    if (searchRunning()) return kSearchOwnsRows;
    if (!answeredYes) {
        ask(client, r, notch::kResetTitle,
            r.automaticRows ? notch::kResetAutomaticQuestion : notch::kResetManualQuestion);
        return {};
    }
    std::vector<devlink::Payload> frames = notch::ResetRows(image_, r.channel, r.automaticRows);
    if (linked_) {
        const std::vector<devlink::Payload> other = notch::ResetRows(image_, 1 - r.channel, r.automaticRows);
        frames.insert(frames.end(), other.begin(), other.end());
    }
    send(frames);
    return {};
}

void DeviceTarget::ask(int client, const remote::Request& request, const char* title, const char* text) {
    emit question(client, questions_.ask(client, request), QString::fromLatin1(title), QString::fromLatin1(text));
}

void DeviceTarget::wentOffline() {
    // The device cannot be told; it stops by itself when it restarts.
    search_ = -1;
    searchOnDevice_ = -1;
    emit changed();
}

devlink::Task<void> DeviceTarget::cameBack() {
    const std::optional<devlink::DeviceWork::Hold> hold = link_.work().tryHold("reading the device");
    model::PresetImage device{};
    bool read = false;
    if (hold) read = co_await ReadCurrentSettings(link_, device);
    if (read && !std::equal(device.begin(), device.begin() + model::kBlockSize, image_.begin())) {
        // Sent whole, as the editor sends its settings: which unlinks.
        linked_ = false;
        co_await link_.commands(notch::PresetApplicationPayloads(image_));
    }
    emit changed();
}

void DeviceTarget::takeReports() {
    if (!searchRunning()) {
        // Nobody waits for what comes now; a port that failed meanwhile
        // is noticed here rather than at the next edit.
        link_.dropIdleInput();
        if (link_.lost()) emit changed();
        return;
    }
    bool any = false;
    while (link_.pollSearchReports([&](auto bytes) {
        if (const auto report = notch::DecodeSearchReport(bytes)) {
            notch::StoreSearchReport(*report, image_);
            found_.add(image_, report->n, QTime::currentTime().msecsSinceStartOfDay() / 1000);
            any = true;
        }
    })) {}
    if (any || link_.lost()) emit changed();
}

}  // namespace cli
