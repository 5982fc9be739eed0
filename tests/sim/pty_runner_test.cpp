#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "sim/memory_file.h"
#include "sim/pty_runner.h"
#include "sim_frames.h"
#include "temp_dir.h"

using namespace sim_test;

namespace {

// Reads `n` bytes or gives up at the deadline; waits on data, never sleeps.
Bytes readBytes(int fd, std::size_t n, std::chrono::steady_clock::time_point deadline) {
    Bytes got;
    while (got.size() < n) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        std::uint8_t buf[64];
        const ssize_t r = ::read(fd, buf, std::min(sizeof buf, n - got.size()));
        if (r > 0) got.insert(got.end(), buf, buf + r);
    }
    return got;
}

// The editor's end of the line: the terminal in raw mode, or -1.
int openRaw(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd >= 0 && ::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        if (::tcsetattr(fd, TCSANOW, &tio) == 0) return fd;
    }
    if (fd >= 0) ::close(fd);
    return -1;
}

TEST(PtyRunner, AnswersAProbeOnTheSlaveAndCleansUp) {
    TempDir dir;
    sim::PtyOptions options;
    options.linkPath = dir.file("ttyQRN");
    options.memoryFile = dir.file("memory.bin");
    sim::PtyRunner runner;
    std::string error;
    ASSERT_TRUE(runner.start(options, &error)) << error;
    EXPECT_EQ(std::filesystem::read_symlink(options.linkPath), runner.slavePath());

    std::atomic<bool> stop{false};
    std::thread thread([&] { runner.run(stop); });

    const int fd = openRaw(options.linkPath);
    ASSERT_GE(fd, 0);
    // 0x11 and 0x0D in the frame would be eaten or changed by a cooked line.
    const Bytes write = writeByte(0x0011, 0x0D);
    ASSERT_EQ(::write(fd, write.data(), write.size()), 10);
    ASSERT_EQ(::write(fd, kProbe.data(), kProbe.size()), 10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    EXPECT_EQ(readBytes(fd, 20, deadline), concat({answer(0x11, 0x00, 0x11, 0), answer(0x00, 0, 0, 0)}));
    ::close(fd);

    stop = true;
    runner.wake();
    thread.join();
    ASSERT_TRUE(runner.finish(&error)) << error;
    EXPECT_FALSE(std::filesystem::is_symlink(options.linkPath));
    sim::DeviceMemory saved;
    ASSERT_TRUE(sim::loadMemoryFile(options.memoryFile, saved, &error));
    EXPECT_EQ(saved.read(0x0011), 0x0D);
}

// The editor clears its input after each answer, so a report that follows
// an answer closely can be lost unread. The device must not then wait for
// its acknowledgement for ever: the search would show nothing more.
TEST(PtyRunner, AReportNeverAcknowledgedIsGivenUpAndTheSearchGoesOn) {
    sim::PtyOptions options;
    options.reportIntervalMs = 1;
    options.ackTimeoutMs = 1;
    sim::PtyRunner runner;
    std::string error;
    ASSERT_TRUE(runner.start(options, &error)) << error;
    const int fd = openRaw(runner.slavePath());
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop{false};
    std::thread thread([&] { runner.run(stop); });

    const Bytes start = frame({0x0A, 1, 4, 1, 0, 6, 1});
    ASSERT_EQ(::write(fd, start.data(), start.size()), 10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const Bytes got = readBytes(fd, 30, deadline);  // the answer, then two reports, none acknowledged
    ::close(fd);
    stop = true;
    runner.wake();
    thread.join();

    ASSERT_EQ(got.size(), 30u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 10), answer(0x0A, 1, 4, 0));
    for (const std::size_t at : {10u, 20u}) {
        EXPECT_TRUE(got[at] == 0xFE || got[at] == 0xFD) << at;
        EXPECT_EQ(got[at + 1], 0) << "a Left search reports Left notches";
    }
}

// The log is what the line carried: a report still queued behind a burst
// when the line stops was never sent, and is not logged as sent. (Logged
// when queued, a soak counted whole bursts as sent that a stop had cut off.)
TEST(PtyRunner, TheLogCountsAReportSentOnlyOnceTheLineHasCarriedItWhole) {
    TempDir dir;
    sim::PtyOptions options;
    options.lineRate = true;
    options.reportIntervalMs = 1;
    options.logFile = dir.file("frames.log");
    sim::Fault fault;
    ASSERT_TRUE(sim::parseFault("report=1:burst=200", fault, nullptr));
    options.faults.faults.push_back(fault);
    sim::PtyRunner runner;
    std::string error;
    ASSERT_TRUE(runner.start(options, &error)) << error;
    const int fd = openRaw(runner.slavePath());
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop{false};
    std::thread thread([&] { runner.run(stop); });

    const Bytes start = frame({0x0A, 1, 4, 1, 0, 6, 1});
    ASSERT_EQ(::write(fd, start.data(), start.size()), 10);
    // The answer and three reports of the burst of 200, then the line stops.
    Bytes got = readBytes(fd, 40, std::chrono::steady_clock::now() + std::chrono::seconds(10));
    stop = true;
    runner.wake();
    thread.join();
    // Whatever the line carried before it stopped waits in the terminal.
    for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;) {
        std::uint8_t buf[256];
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r <= 0) break;
        got.insert(got.end(), buf, buf + r);
    }
    ::close(fd);
    ASSERT_TRUE(runner.finish(&error)) << error;

    ASSERT_GE(got.size(), 40u);
    const std::size_t reportsRead = (got.size() - 10) / 10;
    for (std::size_t at = 10; at + 10 <= got.size(); at += 10) EXPECT_TRUE(got[at] == 0xFE || got[at] == 0xFD) << at;
    std::ifstream log(options.logFile);
    std::size_t reportsLogged = 0;
    for (std::string line; std::getline(log, line);)
        if (line.find("out  FE") != std::string::npos || line.find("out  FD") != std::string::npos) ++reportsLogged;
    EXPECT_EQ(reportsLogged, reportsRead) << "of a burst of 200";
}

// A fault that unplugs the device takes the terminal away under the
// editor's open port, as a pulled USB adapter does.
TEST(PtyRunner, CloseFaultHangsUpTheTerminalAndRemovesTheLink) {
    TempDir dir;
    sim::PtyOptions options;
    options.linkPath = dir.file("ttyQRN");
    sim::Fault fault;
    ASSERT_TRUE(sim::parseFault("frame=2:close", fault, nullptr));
    options.faults.faults.push_back(fault);
    sim::PtyRunner runner;
    std::string error;
    ASSERT_TRUE(runner.start(options, &error)) << error;
    const int fd = openRaw(options.linkPath);
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop{false};
    std::thread thread([&] { runner.run(stop); });

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    ASSERT_EQ(::write(fd, kProbe.data(), kProbe.size()), 10);
    EXPECT_EQ(readBytes(fd, 10, deadline), answer(0x00, 0, 0, 0));
    ASSERT_EQ(::write(fd, kProbe.data(), kProbe.size()), 10);
    bool hungUp = false;
    while (!hungUp && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        hungUp = ::poll(&p, 1, 100) > 0 && (p.revents & (POLLHUP | POLLERR));
    }
    EXPECT_TRUE(hungUp);
    EXPECT_FALSE(std::filesystem::is_symlink(options.linkPath));
    ::close(fd);
    stop = true;
    runner.wake();
    thread.join();
}

// At line rate the frame takes ten byte times to come in and its answer ten
// to go out; an answer scripted to be late starts that much later still.
TEST(PtyRunner, LineRatePacesBothWaysAndALateAnswerKeepsItsDelay) {
    sim::PtyOptions options;
    options.lineRate = true;
    sim::Fault fault;
    ASSERT_TRUE(sim::parseFault("frame=1:late=100", fault, nullptr));
    options.faults.faults.push_back(fault);
    sim::PtyRunner runner;
    std::string error;
    ASSERT_TRUE(runner.start(options, &error)) << error;
    const int fd = openRaw(runner.slavePath());
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop{false};
    std::thread thread([&] { runner.run(stop); });

    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(::write(fd, kProbe.data(), kProbe.size()), 10);
    const Bytes got = readBytes(fd, 10, sent + std::chrono::seconds(10));
    const auto took = std::chrono::steady_clock::now() - sent;
    ::close(fd);
    stop = true;
    runner.wake();
    thread.join();

    EXPECT_EQ(got, answer(0x00, 0, 0, 0));
    EXPECT_GE(took, 20 * sim::LinePacer::kByteTime4800 + std::chrono::milliseconds(100));
}

}  // namespace
