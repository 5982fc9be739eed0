#include <gtest/gtest.h>

#include <map>
#include <set>

#include "model/value_tables.h"
#include "sim/sim_device.h"
#include "sim_frames.h"

using namespace sim_test;

namespace {

Bytes searchControl(std::uint8_t selector, std::uint8_t count, std::uint8_t q, std::uint8_t run) {
    return frame({0x0A, selector, count, q, 0, 6, run});
}
const Bytes kStop = searchControl(0, 11, 2, 0);

// Takes and acknowledges `n` reports.
std::vector<Bytes> collect(sim::SimDevice& device, int n) {
    std::vector<Bytes> reports;
    for (int i = 0; i < n; ++i) {
        Bytes r = device.takeReport();
        if (r.empty()) break;
        reports.push_back(std::move(r));
        EXPECT_TRUE(device.receive(kAck).empty());
    }
    return reports;
}

TEST(SearchReports, NoneWithoutASearch) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    EXPECT_TRUE(device.takeReport().empty());
    device.receive(searchControl(1, 11, 2, 0));  // a settings change, not a start
    EXPECT_TRUE(device.takeReport().empty());
    device.receive(searchControl(1, 11, 2, 1));
    EXPECT_FALSE(device.takeReport().empty());
    device.receive(kAck);
    device.receive(kStop);
    EXPECT_TRUE(device.takeReport().empty());
}

TEST(SearchReports, OneAtATimeUntilAcknowledged) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    device.receive(searchControl(1, 4, 2, 1));
    EXPECT_EQ(device.takeReport().size(), 10u);
    EXPECT_TRUE(device.takeReport().empty());
    EXPECT_TRUE(device.receive(kProbe).size() == 10u);  // other traffic is no acknowledgement
    EXPECT_TRUE(device.takeReport().empty());
    device.receive(kAck);
    EXPECT_EQ(device.takeReport().size(), 10u);
}

TEST(SearchReports, StopsOnStopFrameAndCloseLinkAndForgetsThePendingAck) {
    for (const Bytes& ender : {kStop, searchControl(2, 3, 1, 0), frame({0x0F, 0, 0, 0, 0, 0, 0})}) {
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        device.receive(searchControl(0, 3, 1, 1));
        ASSERT_FALSE(device.takeReport().empty());
        device.receive(ender);
        EXPECT_FALSE(device.searching());
        EXPECT_TRUE(device.takeReport().empty());
        // The editor may have taken the unacknowledged report as the answer
        // to the stop frame. Starting a search forgets the ack as well, so
        // only the device's own state shows that the stop did.
        EXPECT_FALSE(device.awaitingAck());
        device.receive(searchControl(1, 3, 1, 1));
        EXPECT_FALSE(device.takeReport().empty());
    }
}

struct TargetCase {
    const char* name;
    Bytes start;
    std::set<int> channels;
    int rows;  // automatic notches reported per channel
    std::uint8_t width;
};

TEST(SearchReports, CoverTheAutomaticRowsOfTheSearchedChannelsOnly) {
    const std::vector<TargetCase> cases = {
        {"both", searchControl(0, 3, 1, 1), {0, 1}, 3, 1},
        {"left", searchControl(1, 5, 0, 1), {0}, 5, 0},
        {"right", searchControl(2, 2, 3, 1), {1}, 2, 3},
        {"count 0 means one", searchControl(2, 0, 2, 1), {1}, 1, 2},
        {"count above 12 means 12", searchControl(1, 200, 2, 1), {0}, 12, 2},
        {"width beyond 1/5", searchControl(1, 4, 9, 1), {0}, 4, 3},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        device.receive(c.start);
        std::set<std::pair<int, int>> seen;
        for (const Bytes& r : collect(device, 120)) {
            ASSERT_EQ(r.size(), 10u);
            EXPECT_EQ(r[7], 0x00);
            EXPECT_EQ(r[8], 0x00);
            EXPECT_EQ(r[9], 0xF7);
            ASSERT_TRUE(c.channels.count(r[1])) << int(r[1]);
            ASSERT_LT(r[2], c.rows);
            seen.insert({r[1], r[2]});
            if (r[0] == 0xFE) {
                EXPECT_LE(r[3] * 256 + r[4], model::kMaxFreqCode);
                EXPECT_EQ(r[5], c.width);
            } else {
                ASSERT_EQ(r[0], 0xFD);
                EXPECT_EQ(r[3], 0);
                EXPECT_EQ(r[4], 0);
                EXPECT_EQ(r[5], 0);
            }
        }
        EXPECT_EQ(seen.size(), c.channels.size() * static_cast<std::size_t>(c.rows));
    }
}

TEST(SearchReports, GainOnlyFollowsAPlacedNotchAndGainsOnlyFall) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    device.receive(searchControl(0, 2, 2, 1));
    std::map<std::pair<int, int>, int> gain;
    Bytes lastPlaced;
    int gainReports = 0;
    for (const Bytes& r : collect(device, 150)) {
        const auto notch = std::make_pair(int(r[1]), int(r[2]));
        if (r[0] == 0xFD) {
            ++gainReports;
            ASSERT_FALSE(lastPlaced.empty());
            EXPECT_EQ(notch, std::make_pair(int(lastPlaced[1]), int(lastPlaced[2])));
        } else {
            lastPlaced = r;
        }
        const int before = gain.count(notch) ? gain[notch] : model::kMaxGainCode;
        EXPECT_LE(r[6], before);
        gain[notch] = r[6];
    }
    EXPECT_GT(gainReports, 0);
    // Long enough for every notch to bottom out at code 0, never below.
    for (const auto& [notch, g] : gain) EXPECT_EQ(g, 0);
}

TEST(SearchReports, UpdateTheCurrentSettings) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    device.receive(searchControl(0, 12, 1, 1));
    for (int i = 0; i < 40; ++i) {
        const Bytes r = device.takeReport();
        ASSERT_EQ(r.size(), 10u);
        const Bytes block = device.receive(concat({kReadSettings, kAck}));
        const int rec = model::NotchRecordOffset[r[1] * 12 + r[2]];
        EXPECT_EQ(block[rec], r[6]);
        if (r[0] == 0xFE) {
            EXPECT_EQ(block[rec + 1], r[3]);
            EXPECT_EQ(block[rec + 2], r[4]);
            EXPECT_EQ(block[rec + 3], r[5]);
        }
    }
}

TEST(SearchReports, SeedGivesARepeatableSequence) {
    auto run = [](std::uint32_t seed) {
        sim::DeviceMemory memory;
        sim::SimDevice device(memory, seed);
        device.receive(searchControl(0, 6, 2, 1));
        return collect(device, 30);
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

}  // namespace
