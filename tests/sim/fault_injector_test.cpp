#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sim/fault_injector.h"
#include "sim_frames.h"

using namespace sim_test;

namespace {

using Output = sim::FaultInjector::Output;
using Outputs = std::vector<Output>;

sim::FaultScript script(const std::vector<std::string>& texts, std::uint32_t seed = 1) {
    sim::FaultScript s;
    s.seed = seed;
    for (const std::string& t : texts) {
        sim::Fault f;
        std::string error;
        EXPECT_TRUE(sim::parseFault(t, f, &error)) << t << ": " << error;
        s.faults.push_back(f);
    }
    return s;
}

Bytes first(const Bytes& b, std::size_t n) { return {b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n)}; }
Bytes with(Bytes b, std::initializer_list<std::pair<int, std::uint8_t>> changes) {
    for (const auto& [at, value] : changes) b[static_cast<std::size_t>(at)] = value;
    return b;
}

const Bytes kProbeAnswer = answer(0x00, 0, 0, 0);
const Bytes kStartLeft = frame({0x0A, 1, 4, 1, 0, 6, 1});
const Bytes kStartAnswer = answer(0x0A, 1, 4, 0);
constexpr int kReport = -1;  // a step that takes the device's next report, then acknowledges it

struct Step {
    std::int64_t atMs;
    int what;  // kReport, or an index into `frames` below
};

// What the device sends at each step, given the reports a device without
// faults sends in the same search.
using Expect = std::function<std::vector<Outputs>(const std::vector<Bytes>& reports)>;

struct WireCase {
    const char* name;
    std::vector<std::string> faults;
    std::vector<Step> steps;
    Expect expected;
};

const std::vector<Bytes> frames = {kProbe, readByte(0x0070), kAck, kStartLeft, concat({{0x01, 0x02}, kProbe})};
constexpr int P = 0, R = 1, A = 2, S = 3, J = 4;
const Bytes kReadAnswer = answer(0x10, 0x00, 0x70, 'S');

TEST(FaultInjector, EachActionPutsItsBytesOnTheWire) {
    const std::vector<Step> threeProbes = {{0, P}, {10, P}, {20, P}};
    const std::vector<Step> threeReports = {{0, S}, {0, kReport}, {100, kReport}, {200, kReport}};
    const std::vector<WireCase> cases = {
        {"no faults",
         {},
         threeProbes,
         [](auto&) {
             return std::vector<Outputs>(3, {{0, kProbeAnswer}});
         }},
        {"mute",
         {"frame=2:mute"},
         threeProbes,
         [](auto&) {
             return std::vector<Outputs>{{{0, kProbeAnswer}}, {}, {}};
         }},
        {"close",
         {"frame=2:close"},
         threeProbes,
         [](auto&) {
             return std::vector<Outputs>{{{0, kProbeAnswer}}, {}, {}};
         }},
        {"late, and nothing overtakes it",
         {"frame=2:late=300"},
         threeProbes,
         [](auto&) {
             return std::vector<Outputs>{{{0, kProbeAnswer}}, {{300, kProbeAnswer}}, {{290, kProbeAnswer}}};
         }},
        {"duplicate",
         {"frame=1:duplicate"},
         {{0, P}},
         [](auto&) {
             return std::vector<Outputs>{{{0, concat({kProbeAnswer, kProbeAnswer})}}};
         }},
        {"partial",
         {"frame=1:partial=4"},
         {{0, P}},
         [](auto&) {
             return std::vector<Outputs>{{{0, first(kProbeAnswer, 4)}}};
         }},
        {"partial=0 loses the answer",
         {"frame=1:partial=0"},
         {{0, P}, {5, P}},
         [](auto&) {
             return std::vector<Outputs>{{}, {{0, kProbeAnswer}}};
         }},
        {"combined in a fixed order",
         {"frame=1:late=50", "frame=1:duplicate", "frame=1:partial=4"},
         {{0, P}},
         [](auto&) {
             return std::vector<Outputs>{{{50, concat({first(kProbeAnswer, 4), first(kProbeAnswer, 4)})}}};
         }},
        {"junk is no frame",
         {"frame=1:duplicate"},
         {{0, J}},
         [](auto&) {
             return std::vector<Outputs>{{{0, concat({kProbeAnswer, kProbeAnswer})}}};
         }},
        {"acknowledgements count as frames",
         {"frame=2:duplicate"},
         {{0, A}, {1, R}},
         [](auto&) {
             return std::vector<Outputs>{{}, {{0, concat({kReadAnswer, kReadAnswer})}}};
         }},
        {"nth frame of a command",
         {"cmd=0x10#2:partial=3"},
         {{0, R}, {1, P}, {2, R}},
         [](auto&) {
             return std::vector<Outputs>{{{0, kReadAnswer}}, {{0, kProbeAnswer}}, {{0, first(kReadAnswer, 3)}}};
         }},
        {"time: the first answer from then on",
         {"time=100:duplicate"},
         {{50, P}, {100, A}, {120, P}, {150, P}},
         [](auto&) {
             return std::vector<Outputs>{
                 {{0, kProbeAnswer}}, {}, {{0, concat({kProbeAnswer, kProbeAnswer})}}, {{0, kProbeAnswer}}};
         }},
        {"time: mute",
         {"time=100:mute"},
         {{99, P}, {100, P}},
         [](auto&) {
             return std::vector<Outputs>{{{0, kProbeAnswer}}, {}};
         }},
        {"report: duplicate",
         {"report=2:duplicate"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, r[0]}}, {{0, concat({r[1], r[1]})}}, {{0, r[2]}}};
         }},
        {"report: late",
         {"report=2:late=40"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, r[0]}}, {{40, r[1]}}, {{0, r[2]}}};
         }},
        {"report: partial",
         {"report=1:partial=6"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, first(r[0], 6)}}, {{0, r[1]}}, {{0, r[2]}}};
         }},
        {"report: burst",
         {"report=2:burst=3"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{
                 {{0, kStartAnswer}}, {{0, r[0]}}, {{0, r[1]}, {0, r[2]}, {0, r[3]}}, {{0, r[4]}}};
         }},
        {"report: garbage",
         {"report=1:garbage"},
         threeReports,
         [](auto& r) {
             const Bytes bad = with(r[0], {{1, 0x02}, {2, 0x0C}, {3, 0x02}, {4, 0xDA}, {5, 0x04}, {6, 0x2E}});
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, bad}}, {{0, r[1]}}, {{0, r[2]}}};
         }},
        {"report: garbage in one field",
         {"report=1:garbage=kind", "report=2:garbage=channel", "report=3:garbage=row", "report=4:garbage=freq",
          "report=5:garbage=width", "report=6:garbage=gain"},
         {{0, S}, {0, kReport}, {1, kReport}, {2, kReport}, {3, kReport}, {4, kReport}, {5, kReport}},
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}},
                                         {{0, with(r[0], {{0, 0xFC}})}},
                                         {{0, with(r[1], {{1, 0x02}})}},
                                         {{0, with(r[2], {{2, 0x0C}})}},
                                         {{0, with(r[3], {{3, 0x02}, {4, 0xDA}})}},
                                         {{0, with(r[4], {{5, 0x04}})}},
                                         {{0, with(r[5], {{6, 0x2E}})}}};
         }},
        {"report: mute",
         {"report=2:mute"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, r[0]}}, {}, {}};
         }},
        {"report: close",
         {"report=2:close"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, r[0]}}, {}, {}};
         }},
        {"time: burst waits for a report",
         {"time=0:burst=2"},
         threeReports,
         [](auto& r) {
             return std::vector<Outputs>{{{0, kStartAnswer}}, {{0, r[0]}, {0, r[1]}}, {{0, r[2]}}, {{0, r[3]}}};
         }},
    };

    // The reports of the same search on a device without faults.
    sim::DeviceMemory referenceMemory;
    sim::SimDevice reference(referenceMemory);
    reference.receive(kStartLeft);
    std::vector<Bytes> reports;
    for (int i = 0; i < 6; ++i) {
        reports.push_back(reference.takeReport());
        reference.receive(kAck);
    }

    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        sim::FaultInjector line(device, script(c.faults));
        std::vector<Outputs> got;
        for (const Step& s : c.steps) {
            if (s.what != kReport) {
                got.push_back(line.receive(frames[static_cast<std::size_t>(s.what)], s.atMs));
                continue;
            }
            Outputs outs = line.takeReport(s.atMs);
            const Outputs ack = line.receive(kAck, s.atMs);
            outs.insert(outs.end(), ack.begin(), ack.end());
            got.push_back(outs);
        }
        EXPECT_EQ(got, c.expected(reports));
    }
}

// Noise is seeded: the same seed gives the same bytes on every run.
TEST(FaultInjector, NoiseGoesBeforeAndExtraBytesAfterTheAnswer) {
    auto run = [](std::uint32_t seed) {
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        sim::FaultInjector line(device, script({"frame=1:noise=3", "frame=1:extra=2"}, seed));
        const Outputs out = line.receive(kProbe, 0);
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? Bytes{} : out[0].bytes;
    };
    const Bytes wire = run(7);
    ASSERT_EQ(wire.size(), 15u);
    EXPECT_EQ(Bytes(wire.begin() + 3, wire.begin() + 13), kProbeAnswer);
    EXPECT_EQ(run(7), wire);
    EXPECT_NE(run(8), wire);
    EXPECT_NE(Bytes(wire.begin(), wire.begin() + 2), Bytes(wire.begin() + 13, wire.end()));
}

TEST(FaultInjector, MuteAndCloseStrikeBeforeTheFrameIsCarriedOut) {
    for (const char* fault : {"frame=1:mute", "frame=1:close", "cmd=0x11#1:close"}) {
        SCOPED_TRACE(fault);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        sim::FaultInjector line(device, script({fault}));
        EXPECT_TRUE(line.receive(writeByte(0x0030, 0x55), 0).empty());
        EXPECT_EQ(memory.read(0x0030), 0xFF);
        EXPECT_TRUE(line.receive(kStartLeft, 0).empty());
        EXPECT_FALSE(line.reportReady());
    }
}

TEST(FaultInjector, TimeTriggersFireWithoutTraffic) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    sim::FaultInjector line(device, script({"time=1500:close", "time=700:mute"}));
    const struct {
        std::int64_t atMs;
        bool muted;
        bool closed;
        std::optional<std::int64_t> next;
    } steps[] = {{0, false, false, 700},
                 {699, false, false, 700},
                 {700, true, false, 1500},
                 {1499, true, false, 1500},
                 {1500, true, true, std::nullopt}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.atMs);
        line.advance(s.atMs);
        EXPECT_EQ(device.muted(), s.muted);
        EXPECT_EQ(line.closed(), s.closed);
        EXPECT_EQ(line.nextTimeTrigger(), s.next);
    }
}

TEST(FaultInjector, AStallStopsTheReaderFromWhenItsTriggerFires) {
    const struct {
        const char* fault;
        std::int64_t reportAtMs;  // -1: no report
        std::int64_t advanceToMs;
        std::int64_t stalledUntilMs;
    } cases[] = {
        {"time=300:stall=500", -1, 299, 0},
        {"time=300:stall=500", -1, 310, 810},
        {"report=1:stall=1000", 50, 60, 1050},
        {"report=2:stall=1000", 50, 60, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        sim::FaultInjector line(device, script({c.fault}));
        line.receive(kStartLeft, 0);
        if (c.reportAtMs >= 0) {
            ASSERT_TRUE(line.reportReady());
            line.takeReport(c.reportAtMs);
        }
        line.advance(c.advanceToMs);
        EXPECT_EQ(line.stalledUntilMs(), c.stalledUntilMs);
    }
}

}  // namespace
