#pragma once
// The device's automatic feedback search, played back as a deterministic
// sequence of reports: the automatic notches of each searched channel are
// visited in turn, each placed on a pseudo-random frequency and made a step
// deeper every time it is reported.
#include <array>
#include <cstdint>

#include "model/value_tables.h"
#include "sim/device_protocol.h"

namespace sim {

class FeedbackSearch {
public:
    static constexpr int kGainStep = 3;

    explicit FeedbackSearch(std::uint32_t seed);

    // countByte and qByte as the editor sends them; out-of-range values are
    // brought into 1..12 notches and width codes 0..3.
    void start(int channel, std::uint8_t countByte, std::uint8_t qByte);
    void stop();
    bool running() const;
    bool searching(int channel) const;

    // The next report; the notch record it names in `settings` is updated
    // to match, as the device's own filters would be.
    Frame nextReport(PresetBlock& settings);

private:
    struct ChannelSearch {
        bool active = false;
        int notchCount = 0;
        std::uint8_t width = 0;
    };

    std::uint32_t nextRandom();
    int nextNotch();  // 0..23, channel-major

    std::array<ChannelSearch, model::kChannels> channels_{};
    std::uint32_t random_;
    int cursor_ = 0;
    int reportCount_ = 0;
    int lastPlaced_ = 0;
};

}  // namespace sim
