#include "sim/memory_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace sim {
namespace {

void setError(std::string* error, const std::string& what, const std::string& path, int err) {
    if (error) *error = what + " " + path + ": " + std::strerror(err);
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool loadMemoryFile(const std::string& path, DeviceMemory& memory, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            memory = DeviceMemory();
            return true;
        }
        setError(error, "cannot open", path, errno);
        return false;
    }
    // Only what fits is read; the tail of a long file is ignored.
    std::vector<std::uint8_t> buffer(memory_map::kSize);
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            setError(error, "cannot read", path, err);
            return false;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    memory.assign(std::span<const std::uint8_t>(buffer.data(), filled));
    return true;
}

bool saveMemoryFile(const std::string& path, const DeviceMemory& memory, std::string* error) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setError(error, "cannot create a temporary file for", path, errno);
        return false;
    }
    // mkstemp makes the file private; the image is no secret.
    ::fchmod(fd, 0644);
    const auto bytes = memory.bytes();
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int writeErr = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        setError(error, "cannot write", temp, written ? errno : writeErr);
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        setError(error, "cannot replace", path, err);
        return false;
    }
    return true;
}

}  // namespace sim
