#include <gtest/gtest.h>

#include "sim/fault_options.h"
#include "sim/fault_script.h"

namespace {

using Trigger = sim::FaultTrigger::Kind;
using Action = sim::FaultAction::Kind;

struct GoodCase {
    const char* text;
    sim::Fault expected;
};

TEST(FaultScript, ParsesEachTriggerAndAction) {
    const std::vector<GoodCase> cases = {
        {"frame=80:mute", {{Trigger::Frame, 80, 0}, {Action::Mute, 0}}},
        {"frame=1:close", {{Trigger::Frame, 1, 0}, {Action::Close, 0}}},
        {"frame=10000000:duplicate", {{Trigger::Frame, 10'000'000, 0}, {Action::Duplicate, 0}}},
        {"cmd=0x10#5:noise=1", {{Trigger::Command, 5, 0x10}, {Action::Noise, 1}}},
        {"cmd=0X0a#1:late=600000", {{Trigger::Command, 1, 0x0A}, {Action::Late, 600'000}}},
        {"cmd=0x0#2:partial=0", {{Trigger::Command, 2, 0x00}, {Action::Partial, 0}}},
        {"cmd=0xFF#3:extra=4096", {{Trigger::Command, 3, 0xFF}, {Action::Extra, 4096}}},
        {"report=3:duplicate", {{Trigger::Report, 3, 0}, {Action::Duplicate, 0}}},
        {"report=1:burst=256", {{Trigger::Report, 1, 0}, {Action::Burst, 256}}},
        {"report=2:garbage", {{Trigger::Report, 2, 0}, {Action::Garbage, int(sim::report_field::kAllButKind)}}},
        {"report=2:garbage=kind", {{Trigger::Report, 2, 0}, {Action::Garbage, int(sim::report_field::kKind)}}},
        {"report=2:garbage=gain", {{Trigger::Report, 2, 0}, {Action::Garbage, int(sim::report_field::kGain)}}},
        {"time=1500:close", {{Trigger::Time, 1500, 0}, {Action::Close, 0}}},
        {"report=20:stall=1000", {{Trigger::Report, 20, 0}, {Action::Stall, 1000}}},
        {"time=0:burst=2", {{Trigger::Time, 0, 0}, {Action::Burst, 2}}},
        {"time=86400000:garbage=row",
         {{Trigger::Time, 86'400'000, 0}, {Action::Garbage, int(sim::report_field::kRow)}}},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.text);
        sim::Fault fault;
        std::string error;
        ASSERT_TRUE(sim::parseFault(c.text, fault, &error)) << error;
        EXPECT_EQ(fault, c.expected);
    }
}

struct BadCase {
    const char* text;
    const char* error;
};

TEST(FaultScript, RefusesBadTextsSayingWhy) {
    const std::vector<BadCase> cases = {
        {"", "expected TRIGGER:ACTION, as in frame=80:mute"},
        {"frame=80", "expected TRIGGER:ACTION, as in frame=80:mute"},
        {"line=3:mute", "unknown trigger 'line' (frame, cmd, report or time)"},
        {"frame=0:mute", "frame wants a number from 1 to 10000000, not '0'"},
        {"frame=10000001:mute", "frame wants a number from 1 to 10000000, not '10000001'"},
        {"frame:mute", "frame wants a number from 1 to 10000000, not ''"},
        {"frame=-1:mute", "frame wants a number from 1 to 10000000, not '-1'"},
        {"frame=3x:mute", "frame wants a number from 1 to 10000000, not '3x'"},
        {"report=0:mute", "report wants a number from 1 to 10000000, not '0'"},
        {"time=-5:close", "time wants milliseconds from 0 to 86400000, not '-5'"},
        {"time=1.5:close", "time wants milliseconds from 0 to 86400000, not '1.5'"},
        {"cmd=0x10:mute", "cmd wants CODE#N, as in cmd=0x10#5"},
        {"cmd=16#1:mute", "cmd wants a command code from 0x00 to 0xFF, not '16'"},
        {"cmd=0x100#1:mute", "cmd wants a command code from 0x00 to 0xFF, not '0x100'"},
        {"cmd=0x#1:mute", "cmd wants a command code from 0x00 to 0xFF, not '0x'"},
        {"cmd=0x1G#1:mute", "cmd wants a command code from 0x00 to 0xFF, not '0x1G'"},
        {"cmd=0x10#0:mute", "cmd wants a number from 1 to 10000000, not '0'"},
        {"frame=1:",
         "unknown action '' (mute, close, late, duplicate, partial, extra, noise, garbage, burst or stall)"},
        {"frame=1:explode",
         "unknown action 'explode' (mute, close, late, duplicate, partial, extra, noise, garbage, burst or stall)"},
        {"frame=1:mute=3", "mute takes no value"},
        {"frame=1:close=", "close takes no value"},
        {"frame=1:duplicate=2", "duplicate takes no value"},
        {"frame=1:late", "late wants milliseconds from 1 to 600000, not ''"},
        {"frame=1:late=0", "late wants milliseconds from 1 to 600000, not '0'"},
        {"frame=1:late=600001", "late wants milliseconds from 1 to 600000, not '600001'"},
        {"time=0:stall=0", "stall wants milliseconds from 1 to 600000, not '0'"},
        {"frame=1:partial=-1", "partial wants a number from 0 to 4096, not '-1'"},
        {"frame=1:extra=0", "extra wants a number from 1 to 4096, not '0'"},
        {"frame=1:noise=4097", "noise wants a number from 1 to 4096, not '4097'"},
        {"report=1:burst=1", "burst wants a number from 2 to 256, not '1'"},
        {"report=1:garbage=port", "garbage wants one of kind, channel, row, freq, width, gain, not 'port'"},
        {"report=1:garbage=", "garbage wants one of kind, channel, row, freq, width, gain, not ''"},
        {"frame=1:garbage", "garbage shapes reports: use it with report=N or time=MS"},
        {"cmd=0x0A#1:burst=3", "burst shapes reports: use it with report=N or time=MS"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.text);
        sim::Fault fault;
        std::string error;
        EXPECT_FALSE(sim::parseFault(c.text, fault, &error));
        EXPECT_EQ(error, c.error);
    }
}

struct OptionCase {
    const char* option;
    const char* value;
    bool ok;
    const char* error;
    std::size_t faults;
    std::uint32_t seed;
};

TEST(FaultScript, ProgramOptionsAddFaultsAndSetTheSeed) {
    const std::vector<OptionCase> cases = {
        {"--fault", "report=3:duplicate", true, "", 1, 1},
        {"--fault", "frame=0:mute", false, "--fault 'frame=0:mute': frame wants a number from 1 to 10000000, not '0'",
         0, 1},
        {"--fault-seed", "4294967295", true, "", 0, 4294967295u},
        {"--fault-seed", "4294967296", false, "--fault-seed wants a number from 0 to 4294967295, not '4294967296'", 0,
         1},
        {"--fault-seed", "", false, "--fault-seed wants a number from 0 to 4294967295, not ''", 0, 1},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.value);
        ASSERT_TRUE(sim::isFaultOption(c.option));
        sim::FaultScript script;
        std::string error;
        EXPECT_EQ(sim::applyFaultOption(c.option, c.value, script, &error), c.ok);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(script.faults.size(), c.faults);
        EXPECT_EQ(script.seed, c.seed);
    }
    EXPECT_FALSE(sim::isFaultOption("--faults"));
}

}  // namespace
