// Backing the simulated device up and restoring it: the round trip gives the
// device's memory back byte for byte, a cancel or a lost device leaves the
// backup untouched, and a restore reports each position.
#include <gtest/gtest.h>

#include "backup_fixture.h"
#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "notch/preset_frames.h"
#include "presets/backup_comparison.h"
#include "presets/device_restore.h"
#include "support/sim_rig.h"

using namespace presets;
using presets_test::BlockOf;
using presets_test::NameOf;
using presets_test::VariedImage;
using testing_support::SimRig;

namespace {

const std::chrono::system_clock::time_point kMadeAt{std::chrono::seconds(1796725800)};  // 2026-12-08T10:30:00Z

void StoreInMemory(sim::DeviceMemory& memory, int slot, const std::string& name, const model::PresetImage& data) {
    for (int m = 0; m < 160; ++m) memory.write(0x0120 + 160 * slot + m, data[m]);
    for (int j = 0; j < 8; ++j) memory.write(0x0F20 + 8 * slot + j, static_cast<std::uint8_t>(name[j]));
    memory.write(0x0030 + slot, 0x55);
}

void RunSettings(SimRig& rig, const model::PresetImage& image) {
    devlink::RunToEnd(rig.link.commands(notch::PresetApplicationPayloads(image)));
}

// Positions 5, 8 and 20 used; the current settings unlike the defaults.
void Prepare(SimRig& rig, bool linePace) {
    StoreInMemory(rig.memory, 0, "  LIVE  ", VariedImage(1));
    StoreInMemory(rig.memory, 3, " CHURCH ", VariedImage(2));
    StoreInMemory(rig.memory, 15, "ZZZZZZZZ", VariedImage(3));
    rig.port.linePace = linePace;
    rig.connect();
    RunSettings(rig, VariedImage(4));
    rig.takeWrites();
}

model::PresetLibrary LibraryOf(SimRig& rig) {
    model::PresetLibrary library;
    devlink::RunToEnd(devlink::ReadDeviceLibrary(rig.link, library, {}));
    return library;
}

}  // namespace

TEST(DeviceBackup, RoundTripGivesTheDeviceMemoryBackByteForByte) {
    for (const bool linePace : {false, true}) {
        SimRig rig;
        Prepare(rig, linePace);
        const auto memory = std::vector<std::uint8_t>(rig.memory.bytes().begin(), rig.memory.bytes().end());
        const sim::PresetBlock settings = rig.device.settings();

        DeviceBackup backup;
        ASSERT_EQ(devlink::RunToEnd(ReadDeviceBackup(rig.link, backup, {}, kMadeAt)), BackupReadResult::Read);
        EXPECT_EQ(backup.created, "2026-12-08T10:30:00Z");
        EXPECT_EQ(backup.programName, NameOf("SIM 4480"));
        EXPECT_EQ(backup.positions[3].data, BlockOf(VariedImage(2)));
        EXPECT_EQ(backup.positions[4].name, NameOf(" Empty  "));
        EXPECT_EQ(std::get<DeviceBackup>(DecodeBackup(EncodeBackup(backup))), backup);

        // Everything the backup holds, changed: other data and names, a used
        // position emptied, an empty one marked used, other settings.
        StoreInMemory(rig.memory, 0, "CHANGED!", VariedImage(7));
        rig.memory.write(0x0030 + 3, 0xFF);
        rig.memory.write(0x0030 + 9, 0x55);
        RunSettings(rig, VariedImage(8));
        model::PresetLibrary library = LibraryOf(rig);
        library.presetTitle = U"7: TITLE";

        RestoreSelection all;
        all.positions.fill(true);
        all.currentSettings = true;
        const RestoreReport report = devlink::RunToEnd(RestoreDevice(rig.link, library, backup, all));
        EXPECT_EQ(report.result, RestoreResult::Done) << linePace;
        for (const RestoreOutcome outcome : report.positions) EXPECT_EQ(outcome, RestoreOutcome::RestoredAndVerified);
        EXPECT_EQ(report.currentSettings, RestoreOutcome::RestoredAndVerified);
        EXPECT_TRUE(std::equal(memory.begin(), memory.end(), rig.memory.bytes().begin())) << "pace " << linePace;
        EXPECT_EQ(rig.device.settings(), settings);
        EXPECT_EQ(library.names[7], U" CHURCH ");
        EXPECT_FALSE(library.used[13]);
        EXPECT_EQ(library.presetTitle, U"7: TITLE");
        EXPECT_TRUE(rig.end.messages.empty());
    }
}

// The progress callback answers false at its n-th call: n - 1 frames went
// out (the first call comes before any), and the backup is as it was.
TEST(DeviceBackup, CancelOrALostDeviceLeavesTheBackupUntouched) {
    struct Case {
        const char* what;
        int stopAtCall;  // 0: never
        bool demo;
        bool muted;
        BackupReadResult result;
        std::size_t frames;
    };
    const Case cases[] = {
        {"before the first frame", 1, false, false, BackupReadResult::Cancelled, 0},
        {"among the markers", 6, false, false, BackupReadResult::Cancelled, 5},
        {"after the program name", 49, false, false, BackupReadResult::Cancelled, 48},
        {"after the first block", 50, false, false, BackupReadResult::Cancelled, 49},
        {"demo mode", 0, true, false, BackupReadResult::NoDevice, 0},
        {"a silent device", 0, false, true, BackupReadResult::LostLink, 6},
    };
    for (const Case& c : cases) {
        SimRig rig;
        Prepare(rig, false);
        rig.link.flags().demoMode = c.demo;
        rig.device.setMuted(c.muted);
        DeviceBackup backup = presets_test::SampleBackup();
        std::vector<std::pair<int, int>> calls;
        const auto progress = [&](int done, int total) {
            calls.emplace_back(done, total);
            return static_cast<int>(calls.size()) != c.stopAtCall;
        };
        EXPECT_EQ(devlink::RunToEnd(ReadDeviceBackup(rig.link, backup, progress)), c.result) << c.what;
        EXPECT_EQ(rig.takeWrites().size(), c.frames) << c.what;
        EXPECT_EQ(backup, presets_test::SampleBackup()) << c.what;
        if (c.stopAtCall > 17) {
            EXPECT_EQ(calls.at(16), std::make_pair(0, 17)) << "until the markers are in";
            EXPECT_EQ(calls.at(17), std::make_pair(0, 4)) << "three used positions and the current settings";
        }
    }
}

TEST(DeviceRestore, StopsBetweenPartsAndReportsEach) {
    struct Case {
        const char* what;
        int stopAtDone;  // the callback answers false once this many parts are done; -1: never
        bool demo;
        RestoreResult result;
        std::array<RestoreOutcome, 3> outcomes;  // positions 5 and 6, then the current settings
    };
    using enum RestoreOutcome;
    const Case cases[] = {
        {"all", -1, false, RestoreResult::Done, {RestoredAndVerified, RestoredAndVerified, RestoredAndVerified}},
        {"stopped after one", 1, false, RestoreResult::Cancelled, {RestoredAndVerified, Cancelled, Cancelled}},
        {"stopped at once", 0, false, RestoreResult::Cancelled, {Cancelled, Cancelled, Cancelled}},
        {"demo mode", -1, true, RestoreResult::NoDevice, {NotChosen, NotChosen, NotChosen}},
    };
    for (const Case& c : cases) {
        SimRig rig;
        Prepare(rig, false);
        rig.link.flags().demoMode = c.demo;
        model::PresetLibrary library = LibraryOf(rig);
        rig.takeWrites();
        RestoreSelection selection;
        selection.positions[0] = selection.positions[1] = true;
        selection.currentSettings = true;
        const auto progress = [&](int done, int total) {
            EXPECT_EQ(total, 3);
            return done != c.stopAtDone;
        };
        const RestoreReport report =
            devlink::RunToEnd(RestoreDevice(rig.link, library, presets_test::SampleBackup(), selection, progress));
        EXPECT_EQ(report.result, c.result) << c.what;
        EXPECT_EQ(report.positions[0], c.outcomes[0]) << c.what;
        EXPECT_EQ(report.positions[1], c.outcomes[1]) << c.what;
        EXPECT_EQ(report.currentSettings, c.outcomes[2]) << c.what;
        EXPECT_EQ(report.positions[2], NotChosen);
        if (c.outcomes[0] == Cancelled || c.demo) {
            EXPECT_TRUE(rig.takeWrites().empty()) << c.what;
        }
    }
    EXPECT_STREQ(RestoreOutcomeText(RestoreOutcome::RestoredAndVerified), "Restored and verified");
    EXPECT_STREQ(RestoreOutcomeText(RestoreOutcome::DiffersAfterWriting), "Differs after writing");
    EXPECT_STREQ(RestoreOutcomeText(RestoreOutcome::NotWrittenLinkLost), "Not written: link lost");
}

TEST(DeviceRestore, ComparesEachPositionWithTheDevice) {
    const DeviceBackup backup = presets_test::SampleBackup();  // 5 "  LIVE  " and 7 " CHURCH " used
    model::PresetLibrary library;
    library.resetToFixedOnly();
    library.used[4] = true, library.names[4] = U"  LIVE  ";
    library.used[6] = true, library.names[6] = U" CHURCH ";
    library.used[7] = true, library.names[7] = U"  OTHER ";
    DeviceBlocks blocks;
    blocks[0] = backup.positions[0].data;
    struct Case {
        int position;
        PositionMatch match;
    };
    const Case cases[] = {
        {5, PositionMatch::Same},              // same name, same block
        {6, PositionMatch::Same},              // empty on both sides
        {7, PositionMatch::NeedsDeviceBlock},  // same name, block not read
        {8, PositionMatch::Different},         // used on the device only
    };
    const BackupComparison comparison = CompareWithDevice(backup, library, blocks);
    for (const Case& c : cases) EXPECT_EQ(comparison[c.position - 5].match, c.match) << c.position;
    blocks[2] = BlockOf(VariedImage(9));
    EXPECT_EQ(CompareWithDevice(backup, library, blocks)[2].match, PositionMatch::Different);
    EXPECT_EQ(comparison[3].deviceName, U"  OTHER ");
    EXPECT_EQ(comparison[3].fileName, U" Empty  ");
}

// The device as the backup left it but for data byte 10 of position 8 and
// the gain of the first Left notch: only those go back, between the unmark
// and the marker, and are read back.
TEST(DeviceRestore, WritesOnlyWhatDiffers) {
    const auto frameOf = [](const devlink::Payload& p) {
        return testing_support::Frame({p[0], p[1], p[2], p[3], p[4], p[5], p[6]});
    };
    const auto write = [&](int address, std::uint8_t data) {
        return frameOf(devlink::WriteMemoryBytePayload(address, data));
    };
    const auto block = [&](std::uint8_t index) { return frameOf(devlink::ReadPresetBlockPayload(index)); };
    model::PresetImage settings = VariedImage(4);
    model::PresetImage changedSettings = settings;
    ++changedSettings[model::NotchRecordOffset[0]];
    const std::uint8_t byte10 = VariedImage(2)[10];
    const std::vector<testing_support::Bytes> changed = {write(0x0033, 0xFF), write(0x0120 + 480 + 10, byte10),
                                                         write(0x0033, 0x55), block(7)};
    const auto current = frameOf(notch::ChangedParameterPayloads(changedSettings, settings).at(0));
    struct Case {
        const char* what;
        bool blocksKnown;
        std::vector<testing_support::Bytes> frames;
    };
    std::vector<testing_support::Bytes> unknown = {block(4), block(7)};
    unknown.insert(unknown.end(), changed.begin(), changed.end());
    unknown.push_back(block(19));
    std::vector<testing_support::Bytes> known = changed;
    for (auto* frames : {&unknown, &known}) frames->insert(frames->end(), {block(0xFF), current, block(0xFF)});
    const Case cases[] = {
        {"the comparison's blocks reused", true, known},
        {"blocks read first", false, unknown},
    };
    for (const Case& c : cases) {
        SimRig rig;
        Prepare(rig, true);
        DeviceBackup backup;
        ASSERT_EQ(devlink::RunToEnd(ReadDeviceBackup(rig.link, backup, {}, kMadeAt)), BackupReadResult::Read);
        rig.memory.write(0x0120 + 480 + 10, static_cast<std::uint8_t>(byte10 + 1));
        RunSettings(rig, changedSettings);
        model::PresetLibrary library = LibraryOf(rig);
        DeviceBlocks blocks;
        if (c.blocksKnown) {
            for (const int slot : {0, 3, 15}) blocks[slot] = backup.positions[slot].data;
            blocks[3]->at(10) = static_cast<std::uint8_t>(byte10 + 1);
        }
        rig.takeWrites();
        RestoreSelection all;
        all.positions.fill(true);
        all.currentSettings = true;
        const RestoreReport report = devlink::RunToEnd(RestoreDevice(rig.link, library, backup, all, {}, blocks));
        for (const RestoreOutcome outcome : report.positions)
            EXPECT_EQ(outcome, RestoreOutcome::RestoredAndVerified) << c.what;
        EXPECT_EQ(report.currentSettings, RestoreOutcome::RestoredAndVerified) << c.what;
        EXPECT_EQ(report.writes[3].written, 1) << c.what;
        EXPECT_EQ(report.writes[3].skipped, 167) << c.what;
        const auto frames = rig.takeWrites();
        ASSERT_EQ(frames.size(), c.frames.size()) << c.what;
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(testing_support::Hex(frames[i]), testing_support::Hex(c.frames[i])) << c.what << " " << i;
        EXPECT_EQ(rig.memory.read(0x0120 + 480 + 10), byte10);
    }
}
