#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

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

// What LockCursor switches, by object name.
QStringList LockedControls() {
    QStringList names;
    for (int b = 0; b < 2; ++b)
        for (const char* array : {"HScroll1", "HScroll2", "HScroll3", "HScroll4", "HScroll5", "Slider1", "Frame3"})
            names << QStringLiteral("%1_%2").arg(array).arg(b);
    for (int i = 0; i < 4; ++i) names << QStringLiteral("Command1_%1").arg(i);
    return names << "Check2";
}

QPushButton* SearchBox(const EditorRig& rig, int k) { return rig.eq->controls().Check1.at(k); }

// Everything a report could change on the screen and in the image.
struct Snapshot {
    model::PresetImage image;
    QStringList rows;
    std::vector<notch::Rgb> left, right;
    bool operator==(const Snapshot&) const = default;
};

std::vector<notch::Rgb> Pixels(const EditorRig& rig, int c) {
    const notch::GraphCanvas& canvas = rig.eq->controls().Picture1[c]->canvas();
    return {canvas.data(), canvas.data() + notch::kGraphWidth * notch::kGraphHeight};
}

Snapshot Take(const EditorRig& rig) {
    Snapshot s{rig.image, {}, Pixels(rig, 0), Pixels(rig, 1)};
    for (int n = 0; n < 24; ++n) {
        const auto& row = rig.row(n);
        s.rows << row.Text1->text() << row.Text2->text() << row.Text3->text()
               << QString::number(row.HScroll20->value()) << QString::number(row.HScroll6->value())
               << QString::number(row.HScroll30->value());
    }
    return s;
}

// Puts a ten-byte report on the line and lets the link hand it to the editor.
void Report7(EditorRig& rig, const Report& bytes) {
    Bytes line(bytes.begin(), bytes.end());
    line.insert(line.end(), {0x00, 0x00, 0xF7});
    rig.sim.port.deliver(line);
    ASSERT_TRUE(rig.sim.link.PollSearchReports([&](auto r) { rig.eq->HandleSearchReport(r); }));
}

}  // namespace

TEST(SearchBoxes, CaptionsAsStoredNamesAsShownAllUnchecked) {
    EditorRig rig;
    const auto* link = rig.named<QCheckBox>("Check2");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), "Link channel Left && Right");
    EXPECT_EQ(link->accessibleName(), "Link channel Left & Right");
    EXPECT_FALSE(link->isChecked());
    const char* captions[][2] = {{"Search Feedback L&&R", "Search Feedback L&R"},
                                 {"Search Feedback L", "Search Feedback L"},
                                 {"Search Feedback R", "Search Feedback R"}};
    for (int k = 0; k < 3; ++k) {
        const auto* box = rig.named<QPushButton>(QStringLiteral("Check1_%1").arg(k));
        ASSERT_EQ(box, SearchBox(rig, k));
        EXPECT_EQ(box->text(), captions[k][0]);
        EXPECT_EQ(box->accessibleName(), captions[k][1]);
        EXPECT_TRUE(box->isCheckable());
        EXPECT_FALSE(box->isChecked());
    }
}

TEST(SearchBoxes, StartLocksAndSendsStopAlwaysSendsTheLeftBytesWithSelectorZero) {
    const Bytes stop = Frame({0x0A, 0, 6, 1, 0, 4, 0});
    struct Case { int k; Bytes start; int stops; };
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
        struct Call { bool lock; std::size_t writes; bool linkEnabled; };
        std::vector<Call> calls;
        rig.eq->setLockCursorExtension([&](bool lock) {
            calls.push_back({lock, rig.sim.port.writes.size(), rig.named<QWidget>("Check2")->isEnabled()});
        });

        SearchBox(rig, c.k)->click();
        EXPECT_EQ(Dump(rig.frames()), Dump({c.start}));
        EXPECT_TRUE(rig.eq->flags().searchRunning);
        for (int other = 0; other < 3; ++other) EXPECT_EQ(SearchBox(rig, other)->isEnabled(), other == c.k) << other;
        EXPECT_TRUE(SearchBox(rig, c.k)->isChecked());
        for (const QString& name : LockedControls()) EXPECT_FALSE(rig.named<QWidget>(name)->isEnabled()) << name.toStdString();
        for (int b = 0; b < 2; ++b) EXPECT_TRUE(rig.settings(b).Text4->isEnabled());
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
        for (const QString& name : LockedControls()) EXPECT_TRUE(rig.named<QWidget>(name)->isEnabled()) << name.toStdString();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_FALSE(calls[1].lock);
        EXPECT_EQ(calls[1].writes, started + 2) << "unlocked after the first two stop frames";
        EXPECT_TRUE(calls[1].linkEnabled);
        EXPECT_EQ(rig.sim.dialogs.busyCount, 1);
        EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);
        EXPECT_FALSE(rig.sim.device.searching());
    }
}

TEST(SearchBoxes, UnlockingBringsBackOnlyTheRowsThatWereUsable) {
    EditorRig rig;
    rig.load(SearchPreset());
    const int automatic[] = {6, 9};
    SearchBox(rig, 0)->click();
    for (int n = 0; n < 24; ++n) EXPECT_FALSE(rig.row(n).HScroll20->isEnabled()) << n;
    SearchBox(rig, 0)->click();
    for (int n = 0; n < 24; ++n) {
        const bool manual = n % 12 >= automatic[n / 12];
        const auto& row = rig.row(n);
        for (const QWidget* w : {static_cast<QWidget*>(row.Text2), static_cast<QWidget*>(row.HScroll6),
                                 static_cast<QWidget*>(row.Text1), static_cast<QWidget*>(row.HScroll20),
                                 static_cast<QWidget*>(row.Text3), static_cast<QWidget*>(row.HScroll30)})
            EXPECT_EQ(w->isEnabled(), manual) << w->objectName().toStdString();
    }
}

TEST(SearchReports, TheDevicesReportsShowInRowsAndGraphAndOnlyTheAckIsSent) {
    EditorRig rig;
    rig.load(SearchPreset());
    SearchBox(rig, 0)->click();
    rig.frames();
    int kinds[2] = {0, 0};
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(rig.sim.deliverReport());
        const Snapshot before = Take(rig);
        Report seen{};
        ASSERT_TRUE(rig.sim.link.PollSearchReports([&](auto r) {
            std::copy(r.begin(), r.end(), seen.begin());
            rig.eq->HandleSearchReport(r);
        }));
        EXPECT_EQ(Dump(rig.frames()), Dump({kAck}));
        ++kinds[seen[0] == 0xFE ? 0 : 1];
        const int n = (seen[1] == 0 ? 0 : 12) + seen[2];
        const int r = model::NotchRecordOffset[n];
        const auto& device = rig.sim.device.settings();
        ASSERT_TRUE(std::equal(device.begin() + r, device.begin() + r + 4, rig.image.begin() + r));
        const auto codes = model::ReadNotchRecord(rig.image, n);
        const auto& row = rig.row(n);
        EXPECT_EQ(row.HScroll20->value(), codes.gain);
        EXPECT_EQ(row.Text1->text(), QString::number(codes.gain - 45));
        EXPECT_EQ(row.HScroll6->value(), codes.freq);
        EXPECT_EQ(row.Text2->text(), QString::fromStdString(model::FormatNumber(model::FreqTable[codes.freq])));
        EXPECT_EQ(row.HScroll30->value(), codes.width);
        EXPECT_EQ(row.Text3->text(), QString::fromUtf8(model::BandwidthName[codes.width].data()));
        EXPECT_NE(n < 12 ? Pixels(rig, 0) : Pixels(rig, 1), n < 12 ? before.left : before.right) << "graph redrawn";
        EXPECT_FALSE(row.HScroll20->isEnabled()) << "still locked";
    }
    EXPECT_GT(kinds[0], 0);
    EXPECT_GT(kinds[1], 0);
    EXPECT_FALSE(rig.eq->flags().updatingControls);
    EXPECT_FALSE(rig.sim.link.flags().suppressSend);
}

TEST(SearchReports, RightNotch15ReportSetsTheRecordTheRowAndTheRightGraphOnly) {
    EditorRig rig;
    rig.loadDefaults();
    const Snapshot before = Take(rig);
    Report7(rig, {0xFE, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20});
    EXPECT_EQ(Dump(rig.frames()), Dump({kAck}));
    auto expected = before.image;
    expected[120] = 0x20, expected[121] = 0x01, expected[122] = 0x2C, expected[123] = 0x02;
    EXPECT_EQ(rig.image, expected);
    const auto& row = rig.row(15);
    EXPECT_EQ(row.Text2->text(), "342.5");
    EXPECT_EQ(row.HScroll6->value(), 300);
    EXPECT_EQ(row.HScroll20->value(), 0x20);
    EXPECT_EQ(row.Text1->text(), "-13");
    EXPECT_EQ(row.HScroll30->value(), 2);
    EXPECT_EQ(Pixels(rig, 0), before.left);
    EXPECT_NE(Pixels(rig, 1), before.right);
}

TEST(SearchReports, AGainReportChangesTheGainAlone) {
    EditorRig rig;
    rig.loadDefaults();
    const Snapshot before = Take(rig);
    Report7(rig, {0xFD, 0x00, 0x04, 0x01, 0x2C, 0x03, 0x10});
    EXPECT_EQ(Dump(rig.frames()), Dump({kAck}));
    auto expected = before.image;
    expected[44] = 0x10;
    EXPECT_EQ(rig.image, expected);
    const auto& row = rig.row(4);
    EXPECT_EQ(row.HScroll20->value(), 16);
    EXPECT_EQ(row.Text1->text(), "-29");
    EXPECT_EQ(row.Text2->text(), "247.9");
    EXPECT_EQ(row.HScroll30->value(), 2);
    EXPECT_NE(Pixels(rig, 0), before.left);
}

TEST(SearchReports, ChannelBytesOtherThanZeroAndOneAreTheRightChannel) {
    for (const std::uint8_t channel : {0x02, 0x80, 0xFF}) {
        EditorRig rig;
        rig.loadDefaults();
        Report7(rig, {0xFE, channel, 0x05, 0x01, 0x2C, 0x01, 0x0A});
        EXPECT_EQ(rig.row(17).HScroll6->value(), 300) << int(channel);
        EXPECT_EQ(rig.row(5).HScroll6->value(), 266) << int(channel);
    }
}

TEST(SearchReports, NoNotchNoCodeOrAnotherFirstByteChangesNothingAndIsAcknowledged) {
    const Report cases[] = {
        {0xFE, 0x00, 0x0C, 0x01, 0x2C, 0x02, 0x20}, {0xFE, 0x01, 0xFF, 0x01, 0x2C, 0x02, 0x20},
        {0xFD, 0x01, 0x0C, 0x00, 0x00, 0x00, 0x20}, {0xFE, 0x00, 0x03, 0x02, 0xDA, 0x02, 0x20},
        {0xFE, 0x00, 0x03, 0x01, 0x2C, 0x04, 0x20}, {0xFE, 0x00, 0x03, 0x01, 0x2C, 0x02, 0x2E},
        {0xFD, 0x00, 0x03, 0x00, 0x00, 0x00, 0xFF}, {0x00, 0x00, 0x03, 0x01, 0x2C, 0x02, 0x20},
        {0xFC, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20},
    };
    EditorRig rig;
    rig.loadDefaults();
    const Snapshot before = Take(rig);
    for (const auto& bytes : cases) {
        Report7(rig, bytes);
        EXPECT_EQ(Dump(rig.frames()), Dump({kAck})) << int(bytes[0]) << " " << int(bytes[2]);
        EXPECT_TRUE(Take(rig) == before) << int(bytes[0]) << " " << int(bytes[2]);
    }
}

TEST(SearchBoxes, DemoModeLocksAndUnlocksAndSendsNothing) {
    EditorRig rig;
    rig.sim.link.flags().demoMode = true;
    rig.eq->FillFromDefaultImage();
    rig.sim.link.flags().suppressSend = false;  // as at the end of start-up
    SearchBox(rig, 1)->click();
    EXPECT_TRUE(rig.eq->flags().searchRunning);
    EXPECT_FALSE(SearchBox(rig, 0)->isEnabled());
    EXPECT_FALSE(rig.named<QWidget>("Frame3_0")->isEnabled());
    SearchBox(rig, 1)->click();
    EXPECT_FALSE(rig.eq->flags().searchRunning);
    EXPECT_TRUE(SearchBox(rig, 0)->isEnabled());
    EXPECT_TRUE(rig.named<QWidget>("Frame3_0")->isEnabled());
    EXPECT_TRUE(rig.sim.port.writes.empty());
}
