#include <gtest/gtest.h>

#include "model/value_tables.h"
#include "notch/found_notches.h"
#include "notch/search_report.h"

using namespace notch;

namespace {

constexpr int At(int h, int m, int s) { return h * 3600 + m * 60 + s; }

}  // namespace

TEST(FoundNotches, ReadsAsAnEngineerWritesItDown) {
    struct Case {
        FoundNotch found;
        const char* text;
    };
    const Case cases[] = {
        {{1, At(21, 4, 13), 0, 2, 2882, -13}, "21:04:13 Left 3 2.88 kHz \u221213 dB"},
        {{1, At(0, 0, 0), 1, 11, 20, 0}, "00:00:00 Right 12 20.0 Hz 0 dB"},
        {{1, At(23, 59, 59), 0, 0, 20000, -45}, "23:59:59 Left 1 20.0 kHz \u221245 dB"},
        {{1, At(9, 5, 0), 0, 0, 20.05, -1}, "09:05:00 Left 1 20.1 Hz \u22121 dB"},
        {{1, 0, 0, 0, 99.5, -1}, "00:00:00 Left 1 99.5 Hz \u22121 dB"},
        {{1, 0, 0, 0, 99.96, -1}, "00:00:00 Left 1 100 Hz \u22121 dB"},  // rounded up into the next decade
        {{1, 0, 0, 0, 984.2, -1}, "00:00:00 Left 1 984 Hz \u22121 dB"},
        {{1, 0, 0, 0, 999.6, -1}, "00:00:00 Left 1 1.00 kHz \u22121 dB"},  // not "1000 Hz"
        {{1, 0, 0, 0, 9920, -1}, "00:00:00 Left 1 9.92 kHz \u22121 dB"},
        {{1, 0, 0, 0, 9996, -1}, "00:00:00 Left 1 10.0 kHz \u22121 dB"},
        {{1, 0, 0, 0, 12510, -1}, "00:00:00 Left 1 12.5 kHz \u22121 dB"},
    };
    for (const Case& c : cases) EXPECT_EQ(FoundNotchText(c.found), c.text) << c.found.hz;
}

TEST(FoundNotches, EachReportIsItsNotchAsStoredNewestFirstAndTheCsvInTheOrderFound) {
    struct Case {
        std::array<std::uint8_t, devlink::kReportSize> report;
        int secondsOfDay;
    };
    const Case cases[] = {
        {{kNotchReport, 0, 2, 0x02, 0x0C, 1, 32}, At(21, 4, 13)},    // Left 3 at code 524, -13 dB
        {{kNotchReport, 1, 11, 0x00, 0x00, 0, 45}, At(21, 4, 14)},   // Right 12 at 20 Hz, 0 dB
        {{kGainReport, 0, 2, 0xFF, 0xFF, 0xFF, 20}, At(21, 4, 15)},  // Left 3 deeper: its frequency stays
    };
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    FoundNotches log;
    for (const Case& c : cases) {
        const auto report = DecodeSearchReport(ReportBytes(c.report));
        ASSERT_TRUE(report);
        StoreSearchReport(*report, image);
        log.add(image, report->n, c.secondsOfDay);
    }
    std::vector<std::string> texts;
    std::vector<int> ids;
    for (const FoundNotch& f : log.newestFirst()) texts.push_back(FoundNotchText(f)), ids.push_back(f.id);
    EXPECT_EQ(texts, (std::vector<std::string>{"21:04:15 Left 3 2.88 kHz \u221225 dB", "21:04:14 Right 12 20.0 Hz 0 dB",
                                               "21:04:13 Left 3 2.88 kHz \u221213 dB"}));
    EXPECT_EQ(ids, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(FoundNotchesCsv(log.newestFirst()),
              "Time,Channel,Notch,Frequency (Hz),Gain (dB)\n"
              "21:04:13,Left,3,2882,-13\n"
              "21:04:14,Right,12,20,0\n"
              "21:04:15,Left,3,2882,-25\n");

    // A page that still shows entry 3 must not take the next for it.
    log.clear();
    EXPECT_EQ(FoundNotchesCsv(log.newestFirst()), "Time,Channel,Notch,Frequency (Hz),Gain (dB)\n");
    log.add(image, 0, 0);
    EXPECT_EQ(log.newestFirst().front().id, 4);
}

TEST(FoundNotches, AtItsBoundTheOldestEntryGoes) {
    model::PresetImage image{};
    FoundNotches log;
    for (std::size_t i = 0; i <= FoundNotches::kMaxEntries; ++i) log.add(image, 0, 0);
    ASSERT_EQ(log.newestFirst().size(), FoundNotches::kMaxEntries);
    EXPECT_EQ(log.newestFirst().front().id, static_cast<int>(FoundNotches::kMaxEntries) + 1);
    EXPECT_EQ(log.newestFirst().back().id, 2);
}
