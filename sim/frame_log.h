#pragma once
// A text trace of the line, one frame per line, for watching an editor
// session from outside: "   1234.567 in   F0 5B 00 00 00 00 00 00 00 F7".
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "sim/sim_device.h"

namespace sim {

std::string formatLogLine(std::chrono::nanoseconds sinceStart, Direction dir, std::span<const std::uint8_t> bytes);

class FrameLog {
public:
    FrameLog() = default;
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;
    ~FrameLog();

    bool open(const std::string& path, std::string* error);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // Flushed at once, so a crash or a kill loses nothing already logged.
    void write(std::chrono::nanoseconds sinceStart, Direction dir, std::span<const std::uint8_t> bytes);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace sim
