#include <gtest/gtest.h>

#include <QPushButton>
#include <set>
#include <utility>

#include "editor/response_graph.h"
#include "editor_rig.h"
#include "model/number_text.h"

using namespace editor_test;

namespace {

using Report = std::array<std::uint8_t, devlink::kReportSize>;

const Bytes kAck = Frame({0x30});

// Automatic search bytes 76..79 and 156..159 told apart, six automatic rows
// on the Left and nine on the Right.
model::PresetImage SearchPreset() {
    auto image = DefaultPreset();
    image[76] = 6, image[77] = 1, image[78] = 0, image[79] = 4;
    image[156] = 9, image[157] = 3, image[158] = 1, image[159] = 12;
    return image;
}

// What setSearchLock switches, by object name.
QStringList LockedControls() {
    QStringList names;
    for (int b = 0; b < 2; ++b)
        for (const char* array : {"HScroll1", "HScroll2", "HScroll3", "HScroll4", "HScroll5", "Slider1", "Frame3"})
            names << QStringLiteral("%1_%2").arg(array).arg(b);
    for (int i = 0; i < 4; ++i) names << QStringLiteral("Command1_%1").arg(i);
    return names << "Check2";
}

QPushButton* SearchBox(const EditorRig& rig, int k) { return rig.eq->controls().searchButtons.at(k); }

std::vector<notch::Rgb> Pixels(const EditorRig& rig, int c) {
    const notch::GraphCanvas& canvas = rig.eq->controls().graphs[c]->canvas();
    return {canvas.data(), canvas.data() + notch::kGraphWidth * notch::kGraphHeight};
}

// Row n as shown: "gain box, frequency box, width box / gain, frequency, width bars".
std::string RowShows(const EditorRig& rig, int n) {
    const auto& row = rig.row(n);
    return QStringLiteral("%1 %2 %3 / %4 %5 %6")
        .arg(row.gainBox->text(), row.freqBox->text(), row.widthText->text())
        .arg(row.gainBar->value())
        .arg(row.freqBar->value())
        .arg(row.widthBar->value())
        .toStdString();
}

// Everything a report could change: image, rows, both graphs.
struct Snapshot {
    model::PresetImage image;
    std::vector<std::string> rows;
    std::vector<notch::Rgb> left, right;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const EditorRig& rig) {
    Snapshot s{rig.image, {}, Pixels(rig, 0), Pixels(rig, 1)};
    for (int n = 0; n < 24; ++n) s.rows.push_back(RowShows(rig, n));
    return s;
}

// Puts a ten-byte report on the line and lets the link hand it to the editor.
// True when the link took the bytes as a report.
bool Deliver(EditorRig& rig, const Report& bytes) {
    Bytes line(bytes.begin(), bytes.end());
    line.insert(line.end(), {0x00, 0x00, 0xF7});
    rig.sim.port.deliver(line);
    return rig.sim.link.pollSearchReports([&](auto r) { rig.eq->applySearchReport(r); });
}

}  // namespace

TEST(SearchBoxes, StartLocksAndSendsStopAlwaysSendsTheLeftBytesWithSelectorZero) {
    const Bytes stop = Frame({0x0A, 0, 6, 1, 0, 4, 0});
    struct Case {
        int k;
        Bytes start;
        int stops;
    };
    const Case cases[] = {
        {0, Frame({0x0A, 0, 6, 1, 0, 4, 1}), 2},
        {1, Frame({0x0A, 1, 6, 1, 0, 4, 1}), 4},
        {2, Frame({0x0A, 2, 9, 3, 1, 12, 1}), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.k);
        EditorRig rig;
        rig.load(SearchPreset());
        // When the extension runs: locking, frames written so far, link box.
        struct Call {
            bool lock;
            std::size_t writes;
            bool linkEnabled;
        };
        std::vector<Call> calls;
        rig.eq->setSearchLockExtension([&](bool lock) {
            calls.push_back({lock, rig.sim.port.writes.size(), rig.named<QWidget>("Check2")->isEnabled()});
        });
        ASSERT_FALSE(SearchBox(rig, c.k)->isChecked());

        SearchBox(rig, c.k)->click();
        EXPECT_EQ(Dump(rig.frames()), Dump({c.start}));
        EXPECT_TRUE(rig.eq->flags().searchRunning);
        EXPECT_TRUE(SearchBox(rig, c.k)->isChecked());
        for (int other = 0; other < 3; ++other) EXPECT_EQ(SearchBox(rig, other)->isEnabled(), other == c.k) << other;
        for (const QString& name : LockedControls())
            EXPECT_FALSE(rig.named<QWidget>(name)->isEnabled()) << name.toStdString();
        for (int b = 0; b < 2; ++b) EXPECT_TRUE(rig.settings(b).sensitivityBox->isEnabled());
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_TRUE(calls[0].lock);
        EXPECT_EQ(calls[0].writes, 0u) << "locked before the start frame";
        EXPECT_FALSE(calls[0].linkEnabled) << "after the link box";

        const std::size_t started = rig.sim.port.writes.size();
        SearchBox(rig, c.k)->click();
        EXPECT_EQ(Dump(rig.frames()), Dump(Frames(c.stops, stop)));
        EXPECT_FALSE(rig.eq->flags().searchRunning);
        EXPECT_FALSE(SearchBox(rig, c.k)->isChecked());
        for (int other = 0; other < 3; ++other) EXPECT_TRUE(SearchBox(rig, other)->isEnabled());
        for (const QString& name : LockedControls())
            EXPECT_TRUE(rig.named<QWidget>(name)->isEnabled()) << name.toStdString();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_FALSE(calls[1].lock);
        EXPECT_EQ(calls[1].writes, started + 2) << "unlocked after the first two stop frames";
        EXPECT_TRUE(calls[1].linkEnabled);
        EXPECT_EQ(rig.sim.dialogs.busyCount, 1);
        EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);
        // The notch frames come back with the automatic rows still disabled.
        for (int n = 0; n < 24; ++n) {
            const bool manual = n % 12 >= (n < 12 ? 6 : 9);
            EXPECT_EQ(rig.row(n).freqBox->isEnabled(), manual) << n;
            EXPECT_EQ(rig.row(n).gainBar->isEnabled(), manual) << n;
        }
    }
}

TEST(SearchBoxes, ABoxCheckedAgainWhileItsStopFramesWaitStartsNothing) {
    for (const int k : {0, 1, 2}) {
        SCOPED_TRACE(k);
        EditorRig rig;
        rig.load(SearchPreset());
        SearchBox(rig, k)->click();
        rig.frames();
        rig.sim.port.linePace = true;
        bool pressed = false;
        rig.sim.port.duringWait = [&] {
            if (!std::exchange(pressed, true)) SearchBox(rig, k)->click();
        };
        SearchBox(rig, k)->click();
        rig.sim.port.duringWait = nullptr;
        const Frames frames = rig.frames();
        ASSERT_FALSE(frames.empty());
        for (const Bytes& f : frames) EXPECT_EQ(f[8], 0) << "a stop, never a start: " << Hex(f);
        EXPECT_FALSE(rig.eq->flags().searchRunning);
        EXPECT_FALSE(SearchBox(rig, k)->isChecked());
        for (const QString& name : LockedControls())
            EXPECT_TRUE(rig.named<QWidget>(name)->isEnabled()) << name.toStdString();
    }
}

TEST(SearchReports, TheDevicesReportsShowInRowAndGraphAndOnlyTheAckIsSent) {
    EditorRig rig;
    rig.load(SearchPreset());
    SearchBox(rig, 0)->click();
    rig.frames();
    std::set<std::uint8_t> kinds;
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(rig.sim.deliverReport());
        const Snapshot before = Take(rig);
        int n = 0;
        ASSERT_TRUE(rig.sim.link.pollSearchReports([&](auto r) {
            kinds.insert(r[0]);
            n = (r[1] == 0 ? 0 : 12) + r[2];
            rig.eq->applySearchReport(r);
        }));
        EXPECT_EQ(Dump(rig.frames()), Dump({kAck}));
        const int r = model::NotchRecordOffset[n];
        ASSERT_TRUE(
            std::equal(rig.image.begin() + r, rig.image.begin() + r + 4, rig.sim.device.settings().begin() + r));
        const model::NotchCodes c = model::ReadNotchRecord(rig.image, n);
        EXPECT_EQ(RowShows(rig, n), QStringLiteral("%1 %2 %3 / %4 %5 %6")
                                        .arg(c.gain - 45)
                                        .arg(QString::fromStdString(model::FormatNumber(model::FreqTable[c.freq])))
                                        .arg(model::BandwidthName[c.width].data())
                                        .arg(c.gain)
                                        .arg(c.freq)
                                        .arg(c.width)
                                        .toStdString());
        EXPECT_NE(Pixels(rig, n / 12), n < 12 ? before.left : before.right) << "graph redrawn";
    }
    EXPECT_EQ(kinds, (std::set<std::uint8_t>{0xFD, 0xFE}));
    EXPECT_FALSE(rig.eq->flags().updatingControls);
    EXPECT_FALSE(rig.sim.link.flags().suppressSend);
}

TEST(SearchReports, NotchAndGainReportsChangeTheirRecordRowAndGraphOnly) {
    struct Case {
        Report bytes;
        int n;
        std::vector<std::pair<int, std::uint8_t>> bytesChanged;
        const char* row;
    };
    const Case cases[] = {
        {{0xFE, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20},
         15,
         {{120, 0x20}, {121, 0x01}, {122, 0x2C}, {123, 0x02}},
         "-13 342.5 1/10 / 32 300 2"},
        {{0xFE, 0xFF, 0x03, 0x01, 0x2C, 0x02, 0x20},
         15,
         {{120, 0x20}, {121, 0x01}, {122, 0x2C}, {123, 0x02}},
         "-13 342.5 1/10 / 32 300 2"},  // any channel byte but 0 is Right
        {{0xFD, 0x00, 0x04, 0x01, 0x2C, 0x03, 0x10}, 4, {{44, 0x10}}, "-29 247.9 1/10 / 16 266 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        EditorRig rig;
        rig.loadDefaults();
        Snapshot expected = Take(rig);
        ASSERT_TRUE(Deliver(rig, c.bytes));
        EXPECT_EQ(Dump(rig.frames()), Dump({kAck}));
        for (const auto& [offset, value] : c.bytesChanged) expected.image[offset] = value;
        expected.rows[c.n] = c.row;
        const Snapshot after = Take(rig);
        EXPECT_EQ(after.image, expected.image);
        EXPECT_EQ(after.rows, expected.rows);
        EXPECT_EQ(after.left == expected.left, c.n >= 12);
        EXPECT_EQ(after.right == expected.right, c.n < 12);
    }
}

// A report with a field out of range, or of a kind this program does not
// know, changes nothing and is acknowledged like any other.
TEST(SearchReports, NoNotchNoCodeOrAnotherFirstByteChangesNothing) {
    const Report cases[] = {
        {0xFE, 0x00, 0x0C, 0x01, 0x2C, 0x02, 0x20}, {0xFD, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x20},
        {0xFE, 0x00, 0x03, 0x02, 0xDA, 0x02, 0x20}, {0xFE, 0x00, 0x03, 0x01, 0x2C, 0x04, 0x20},
        {0xFD, 0x00, 0x03, 0x00, 0x00, 0x00, 0x2E}, {0xFC, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20},
    };
    EditorRig rig;
    rig.loadDefaults();
    const Snapshot before = Take(rig);
    for (const auto& bytes : cases) {
        EXPECT_TRUE(Deliver(rig, bytes));
        EXPECT_EQ(Dump(rig.frames()), Dump({kAck})) << int(bytes[0]) << " " << int(bytes[2]);
        EXPECT_TRUE(Take(rig) == before) << int(bytes[0]) << " " << int(bytes[2]);
    }
}
