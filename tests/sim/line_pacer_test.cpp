#include <gtest/gtest.h>

#include "sim/line_pacer.h"

namespace {

using sim::LinePacer;
using Bytes = std::vector<std::uint8_t>;
constexpr auto kByte = LinePacer::kByteTime4800;
const LinePacer::Clock::time_point t0{std::chrono::seconds(100)};

TEST(LinePacer, ByteTimeIsTenBitsAt4800Baud) { EXPECT_EQ(kByte.count(), 2'083'333); }

TEST(LinePacer, WithoutPacingBytesPassAtOnce) {
    LinePacer pacer(LinePacer::Duration::zero());
    pacer.arrive(Bytes{1, 2, 3}, t0);
    EXPECT_EQ(pacer.takeArrived(t0), (Bytes{1, 2, 3}));
    pacer.send(Bytes{4, 5}, t0);
    EXPECT_EQ(pacer.takeDue(t0), (Bytes{4, 5}));
    EXPECT_FALSE(pacer.nextEvent());
}

TEST(LinePacer, AFrameIsReceivedTenByteTimesAfterItArrives) {
    LinePacer pacer(kByte);
    const Bytes frame = {0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7};
    pacer.arrive(frame, t0);
    EXPECT_EQ(pacer.nextEvent(), t0 + kByte);
    const struct {
        LinePacer::Duration at;
        std::size_t total;  // bytes received by then
    } steps[] = {{kByte - std::chrono::nanoseconds(1), 0},
                 {kByte, 1},
                 {9 * kByte, 9},
                 {10 * kByte - std::chrono::nanoseconds(1), 9},
                 {10 * kByte, 10}};
    Bytes received;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at.count());
        const Bytes got = pacer.takeArrived(t0 + s.at);
        received.insert(received.end(), got.begin(), got.end());
        EXPECT_EQ(received.size(), s.total);
    }
    EXPECT_EQ(received, frame);
    EXPECT_TRUE(pacer.inputIdle());
}

TEST(LinePacer, BytesQueueBehindThoseStillOnTheLine) {
    LinePacer pacer(kByte);
    pacer.send(Bytes(10, 0xAA), t0);
    pacer.send(Bytes(10, 0xBB), t0 + 3 * kByte);  // while the first ten still go out
    EXPECT_EQ(pacer.takeDue(t0 + 20 * kByte - std::chrono::nanoseconds(1)).size(), 19u);
    EXPECT_EQ(pacer.takeDue(t0 + 20 * kByte), Bytes{0xBB});
    EXPECT_TRUE(pacer.outputIdle());

    // After a pause the line starts again from the new bytes' own time.
    const auto later = t0 + std::chrono::seconds(1);
    pacer.send(Bytes{0xCC}, later);
    EXPECT_EQ(pacer.nextEvent(), later + kByte);
}

TEST(LinePacer, BlockOf160TakesItsLineTimeWithoutDrift) {
    LinePacer pacer(kByte);
    pacer.send(Bytes(160, 0), t0);
    // Collected late and in uneven steps, as a poll loop would.
    std::size_t total = 0;
    auto t = t0;
    for (; t < t0 + 160 * kByte - std::chrono::microseconds(10); t += std::chrono::microseconds(3700))
        total += pacer.takeDue(t).size();
    total += pacer.takeDue(t0 + 160 * kByte - std::chrono::nanoseconds(1)).size();
    EXPECT_EQ(total, 159u);
    EXPECT_EQ(pacer.takeDue(t0 + 160 * kByte).size(), 1u);
}

}  // namespace
