#pragma once
// Harnesses of the file readers put each input in a real file, so the
// reader under test opens, reads and closes it exactly as it would a user's.
// The file lives in memory (/dev/shm when there is one) and in a folder of
// its own per process, so parallel fuzzing jobs never share it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzz {

inline std::string ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/qrn-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)removedAtExit;
    return folder;
}

inline std::string ScratchPath(const char* name) { return ScratchFolder() + "/" + name; }

inline void WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush()) std::abort();
}

}  // namespace fuzz
