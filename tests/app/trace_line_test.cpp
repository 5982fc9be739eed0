#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextBlock>

#include <numeric>
#include <vector>

#include "app/device_log_window.h"
#include "connection/trace_file.h"
#include "devlink/trace_fan_out.h"

using devlink::TraceEvent;

namespace {

// A 160-byte block: 00 01 02 ... 9F.
std::vector<std::uint8_t> Block() {
    std::vector<std::uint8_t> block(160);
    std::iota(block.begin(), block.end(), std::uint8_t{0});
    return block;
}

std::string BlockHex() {
    std::string hex;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int b = 0; b < 160; ++b) hex += std::string(b ? " " : "") + kHex[b >> 4] + kHex[b & 15];
    return hex;
}

TEST(TraceLine, ExactText) {
    const std::vector<std::uint8_t> probe{0xF0, 0x5B, 0x01, 0, 0, 0, 0, 0, 0, 0xF7};
    const std::vector<std::uint8_t> noise{0x3A, 0xFF};
    struct Case {
        std::int64_t us;
        TraceEvent event;
        std::vector<std::uint8_t> bytes;
        std::string note;
        std::string line;
    };
    const Case cases[] = {
        {12345, TraceEvent::Out, probe, "Probe", "    12.345  out         F0 5B 01 00 00 00 00 00 00 F7  Probe"},
        {3168000, TraceEvent::In, Block(), "", "  3168.000  in          " + BlockHex()},
        {7, TraceEvent::Dropped, noise, "nobody waits for it", "     0.007  dropped     3A FF  nobody waits for it"},
        {1000000999, TraceEvent::TimeOut, {}, "", "1000000.999  time-out"},
        {0, TraceEvent::Resend, {}, "no answer in time", "     0.000  resend      no answer in time"},
        {1, TraceEvent::PortError, {}, "lost\r\n(unplugged)", "     0.001  port-error  lost  (unplugged)"},
    };
    for (const Case& c : cases) EXPECT_EQ(connection::TraceLine(c.us, c.event, c.bytes, c.note), c.line) << c.line;
}

TEST(TraceLine, TheClockStartsAtZeroAndNeverGoesBack) {
    std::vector<std::int64_t> readings{5'000'000, 5'001'500, 5'000'200, 5'004'250};  // ns; the third goes back
    std::size_t next = 0;
    connection::TraceClock clock([&] { return readings[next++]; });
    EXPECT_EQ(clock.sinceStartUs(), 1);
    EXPECT_EQ(clock.sinceStartUs(), 1);
    EXPECT_EQ(clock.sinceStartUs(), 4);
}

// The file and the window both get every record, through one fan-out; the
// file is flushed line by line and the window keeps only its last lines.
TEST(TraceLine, FileAndWindowShowTheSameLines) {
    std::int64_t nowNs = 0;
    connection::TraceClock clock([&] { return nowNs; });
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.txt");
    connection::TraceFile file(clock);
    QString error;
    ASSERT_TRUE(file.open(path, &error)) << error.toStdString();
    app::DeviceLogWindow window(clock);
    EXPECT_EQ(window.windowTitle(), "Device log");
    EXPECT_EQ(window.objectName(), "DeviceLog");
    EXPECT_TRUE(window.view()->isReadOnly());
    devlink::TraceFanOut fanOut;
    EXPECT_TRUE(fanOut.empty());
    fanOut.add(&file);
    fanOut.add(&window);
    fanOut.add(&window);

    const std::vector<std::uint8_t> ack{0xF0, 0x5B, 0x30, 0, 0, 0, 0, 0, 0, 0xF7};
    nowNs = 2'083'000;
    fanOut.record(0, TraceEvent::Out, ack, "ReportAck");
    const std::string first = "     2.083  out         F0 5B 30 00 00 00 00 00 00 F7  ReportAck";
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), first + "\n") << "flushed before the next record";
    EXPECT_EQ(window.view()->toPlainText().toStdString(), first);

    for (int i = 0; i < app::DeviceLogWindow::kMaxLines; ++i) fanOut.record(0, TraceEvent::TimeOut, {}, {});
    EXPECT_EQ(window.view()->document()->blockCount(), app::DeviceLogWindow::kMaxLines);
    EXPECT_EQ(window.view()->document()->firstBlock().text().toStdString(), "     2.083  time-out");
    EXPECT_EQ(written.readAll().count('\n'), app::DeviceLogWindow::kMaxLines) << "the file keeps everything";

    fanOut.remove(&window);
    fanOut.remove(&file);
    EXPECT_TRUE(fanOut.empty());
}

}  // namespace
