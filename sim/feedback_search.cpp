#include "sim/feedback_search.h"

#include <algorithm>

namespace sim {
namespace {

using namespace model;

constexpr int kVisits = kChannels * kRowsPerChannel;

std::uint8_t deeper(std::uint8_t gain) {
    const int g = std::min<int>(gain, kMaxGainCode) - FeedbackSearch::kGainStep;
    return static_cast<std::uint8_t>(std::max(g, 0));
}

}  // namespace

FeedbackSearch::FeedbackSearch(std::uint32_t seed) : random_(seed != 0 ? seed : 0x4480u) {}

void FeedbackSearch::start(int channel, std::uint8_t countByte, std::uint8_t qByte) {
    if (channel < 0 || channel >= kChannels) return;
    auto& ch = channels_[static_cast<std::size_t>(channel)];
    ch.active = true;
    ch.notchCount = std::clamp<int>(countByte, kMinNumNotchAuto, kMaxNumNotchAuto);
    ch.width = static_cast<std::uint8_t>(std::min<int>(qByte, kMaxWidthCode));
    cursor_ = 0;
    reportCount_ = 0;
}

void FeedbackSearch::stop() {
    for (auto& ch : channels_) ch.active = false;
}

bool FeedbackSearch::running() const {
    return std::any_of(channels_.begin(), channels_.end(), [](const ChannelSearch& c) { return c.active; });
}

bool FeedbackSearch::searching(int channel) const {
    return channel >= 0 && channel < kChannels && channels_[static_cast<std::size_t>(channel)].active;
}

std::uint32_t FeedbackSearch::nextRandom() {
    // xorshift32 rather than a std distribution: a seed then gives the same
    // run with every compiler and library.
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

int FeedbackSearch::nextNotch() {
    // Rows alternate between the channels, so a search on both shows
    // progress on both from the start.
    for (int tries = 0; tries < kVisits; ++tries) {
        const int visit = cursor_;
        cursor_ = (cursor_ + 1) % kVisits;
        const int channel = visit % kChannels;
        const int row = visit / kChannels;
        const auto& ch = channels_[static_cast<std::size_t>(channel)];
        if (ch.active && row < ch.notchCount) return channel * kRowsPerChannel + row;
    }
    return -1;
}

Frame FeedbackSearch::nextReport(PresetBlock& settings) {
    Frame report{};
    report[kFrameSize - 1] = kFrameEnd;
    if (!running()) return report;

    // Every third report deepens the notch placed just before it, so the
    // editor sees both kinds of report against a notch it already knows.
    const bool gainOnly = reportCount_ % 3 == 2;
    ++reportCount_;
    const int notch = gainOnly ? lastPlaced_ : nextNotch();
    if (notch < 0) return report;
    const int channel = notch / kRowsPerChannel;
    const auto r = static_cast<std::size_t>(NotchRecordOffset[static_cast<std::size_t>(notch)]);
    settings[r] = deeper(settings[r]);

    report[1] = static_cast<std::uint8_t>(channel);
    report[2] = static_cast<std::uint8_t>(notch % kRowsPerChannel);
    report[6] = settings[r];
    if (gainOnly) {
        report[0] = kGainReport;
        return report;
    }
    const auto freq = static_cast<int>(nextRandom() % kFreqCodes);
    settings[r + 1] = static_cast<std::uint8_t>(freq / 256);
    settings[r + 2] = static_cast<std::uint8_t>(freq % 256);
    settings[r + 3] = channels_[static_cast<std::size_t>(channel)].width;
    report[0] = kNotchReport;
    report[3] = settings[r + 1];
    report[4] = settings[r + 2];
    report[5] = settings[r + 3];
    lastPlaced_ = notch;
    return report;
}

}  // namespace sim
