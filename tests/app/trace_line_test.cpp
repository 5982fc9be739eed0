#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>

#include <numeric>
#include <vector>

#include "app/device_log_window.h"
#include "connection/trace_file.h"
#include "devlink/trace_fan_out.h"
#include "support/scripted_dialogs.h"

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

// The file and the window both get every record, through one fan-out: the
// file flushed line by line under the time since the start, the window
// under the time of day, recording while it is closed and keeping only its
// last lines.
TEST(TraceLine, FileAndWindowShowTheSameLines) {
    std::int64_t nowNs = 0;
    connection::TraceClock clock([&] { return nowNs; });
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.txt");
    connection::TraceFile file(clock);
    QString error;
    ASSERT_TRUE(file.open(path, &error)) << error.toStdString();
    testing_support::ScriptedDialogs dialogs;
    app::DeviceLogWindow window(dialogs, nullptr, [] { return QTime(21, 5, 9, 42); });
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
    EXPECT_EQ(window.view()->toPlainText().toStdString(), "") << "closed, the window only remembers";
    window.show();
    const std::string firstInWindow = "21:05:09.042  out         F0 5B 30 00 00 00 00 00 00 F7  ReportAck";
    EXPECT_EQ(window.view()->toPlainText().toStdString(), firstInWindow);

    for (int i = 0; i < app::DeviceLogWindow::kMaxLines; ++i) fanOut.record(0, TraceEvent::TimeOut, {}, {});
    EXPECT_EQ(window.view()->document()->blockCount(), app::DeviceLogWindow::kMaxLines);
    EXPECT_EQ(window.view()->document()->firstBlock().text().toStdString(), "21:05:09.042  time-out");
    EXPECT_EQ(window.history().size(), app::TraceHistory::kMaxLines);
    EXPECT_EQ(window.history().line(0), "21:05:09.042  time-out");
    EXPECT_EQ(written.readAll().count('\n'), app::DeviceLogWindow::kMaxLines) << "the file keeps everything";

    fanOut.remove(&window);
    fanOut.remove(&file);
    EXPECT_TRUE(fanOut.empty());
}

// Only the last lines stay, oldest first, however often the ring wraps.
TEST(TraceHistory, KeepsTheLastLinesInOrder) {
    struct Case {
        std::size_t added;
        std::size_t kept;
        std::string oldest;
        std::string newest;
    };
    const std::size_t max = app::TraceHistory::kMaxLines;
    const Case cases[] = {
        {1, 1, "0", "0"},
        {max - 1, max - 1, "0", std::to_string(max - 2)},
        {max, max, "0", std::to_string(max - 1)},
        {max + 1, max, "1", std::to_string(max)},
        {3 * max + 7, max, std::to_string(2 * max + 7), std::to_string(3 * max + 6)},
    };
    for (const Case& c : cases) {
        app::TraceHistory history;
        for (std::size_t i = 0; i < c.added; ++i) history.add(std::to_string(i));
        ASSERT_EQ(history.size(), c.kept) << c.added;
        EXPECT_EQ(history.line(0), c.oldest) << c.added;
        EXPECT_EQ(history.line(c.kept - 1), c.newest) << c.added;
    }
}

// Replies and blocks are named after the command they answer, as the frames
// sent are named after theirs; a record with a note of its own keeps it.
TEST(TraceLine, RepliesAreNamedAfterTheirCommand) {
    const std::vector<std::uint8_t> frame{0xF0, 0x5B, 0x01, 0, 0, 0, 0, 0, 0, 0xF7};
    const std::vector<std::uint8_t> report{0xFE, 0x00, 0x02, 0x10, 0x01, 0x20, 0x01};
    struct Case {
        TraceEvent event;
        std::vector<std::uint8_t> bytes;
        const char* note;
        const char* line;
    };
    const Case cases[] = {
        {TraceEvent::In, frame, "", "00:00:01.500  in          F0 5B 01 00 00 00 00 00 00 F7"},
        {TraceEvent::Out, frame, "Probe", "00:00:01.500  out         F0 5B 01 00 00 00 00 00 00 F7  Probe"},
        {TraceEvent::In, frame, "", "00:00:01.500  in          F0 5B 01 00 00 00 00 00 00 F7  answers Probe"},
        {TraceEvent::Report, report, "", "00:00:01.500  report      FE 00 02 10 01 20 01"},
        {TraceEvent::Out, frame, "ReadPresetBlock",
         "00:00:01.500  out         F0 5B 01 00 00 00 00 00 00 F7  ReadPresetBlock"},
        {TraceEvent::Resend, {}, "no answer in time", "00:00:01.500  resend      no answer in time"},
        {TraceEvent::In, frame, "unframed", "00:00:01.500  in          F0 5B 01 00 00 00 00 00 00 F7  unframed"},
        {TraceEvent::In, {0x00, 0x01}, "", "00:00:01.500  in          00 01  answers ReadPresetBlock"},
    };
    testing_support::ScriptedDialogs dialogs;
    app::DeviceLogWindow window(dialogs, nullptr, [] { return QTime(0, 0, 1, 500); });
    for (const Case& c : cases) window.record(0, c.event, c.bytes, c.note);
    ASSERT_EQ(window.history().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(window.history().line(i), cases[i].line) << i;
}

// Pause holds the view while the log goes on recording, Clear empties both,
// Save... writes every line kept and says so when it cannot.
TEST(DeviceLogWindow, PauseClearAndSave) {
    testing_support::ScriptedDialogs dialogs;
    app::DeviceLogWindow window(dialogs, nullptr, [] { return QTime(12, 0); });
    window.show();
    window.record(0, TraceEvent::TimeOut, {}, {});
    window.pauseButton()->click();
    window.record(0, TraceEvent::Resend, {}, {});
    EXPECT_EQ(window.view()->document()->blockCount(), 1);
    window.pauseButton()->click();
    EXPECT_EQ(window.view()->toPlainText().toStdString(), "12:00:00.000  time-out\n12:00:00.000  resend");

    QTemporaryDir dir;
    dialogs.fileNames = {dir.filePath("log.txt"), dir.path()};
    window.saveButton()->click();
    QFile saved(dir.filePath("log.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), "12:00:00.000  time-out\n12:00:00.000  resend\n");
    EXPECT_TRUE(dialogs.shown.empty());
    window.saveButton()->click();
    ASSERT_EQ(dialogs.shown.size(), 1u) << "a folder cannot be replaced";
    EXPECT_EQ(dialogs.shown[0].title, "Save device log");
    EXPECT_TRUE(dialogs.shown[0].text.startsWith("The device log could not be written to"));

    window.clearButton()->click();
    EXPECT_EQ(window.view()->toPlainText(), "");
    EXPECT_EQ(window.history().size(), 0u);
}

}  // namespace
