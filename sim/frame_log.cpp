#include "sim/frame_log.h"

#include <cerrno>
#include <cstring>

namespace sim {
namespace {

const char* directionWord(Direction dir) {
    switch (dir) {
    case Direction::In: return "in  ";
    case Direction::Out: return "out ";
    case Direction::Skipped: return "skip";
    }
    return "?   ";
}

}  // namespace

std::string formatLogLine(std::chrono::nanoseconds sinceStart, Direction dir, std::span<const std::uint8_t> bytes) {
    char head[48];
    const double ms = std::chrono::duration<double, std::milli>(sinceStart).count();
    std::snprintf(head, sizeof head, "%11.3f %s", ms, directionWord(dir));
    std::string line = head;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const std::uint8_t b : bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    return line;
}

FrameLog::~FrameLog() { close(); }

void FrameLog::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool FrameLog::open(const std::string& path, std::string* error) {
    close();
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        if (error) *error = "cannot open log " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void FrameLog::write(std::chrono::nanoseconds sinceStart, Direction dir, std::span<const std::uint8_t> bytes) {
    if (!file_) return;
    const std::string line = formatLogLine(sinceStart, dir, bytes);
    std::fprintf(file_, "%s\n", line.c_str());
    std::fflush(file_);
}

}  // namespace sim
