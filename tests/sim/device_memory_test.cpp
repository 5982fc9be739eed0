#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "sim/memory_file.h"
#include "temp_dir.h"

using sim_test::TempDir;

namespace {

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> pattern(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return v;
}

TEST(DeviceMemory, FreshMemoryIsErasedButForTheProgramName) {
    const sim::DeviceMemory memory;
    const std::string name = "SIM 4480";
    for (int a = 0; a < 0x1000; ++a) {
        const bool inName = a >= 0x70 && a < 0x78;
        ASSERT_EQ(memory.read(a), inName ? static_cast<std::uint8_t>(name[a - 0x70]) : 0xFF) << a;
    }
}

struct FileCase {
    const char* name;
    std::optional<std::size_t> fileSize;  // none: no file at all
};

TEST(MemoryFile, LoadTakesWhatFitsAndErasesTheRest) {
    const FileCase cases[] = {
        {"missing", std::nullopt}, {"empty", 0}, {"short", 100}, {"one short", 4095}, {"exact", 4096}, {"long", 5000},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("memory.bin");
        const auto content = pattern(c.fileSize.value_or(0));
        if (c.fileSize) writeFile(path, content);

        sim::DeviceMemory memory;
        memory.write(0x0030, 0x00);  // proves the load replaced everything
        std::string error;
        ASSERT_TRUE(sim::loadMemoryFile(path, memory, &error)) << error;
        const sim::DeviceMemory fresh;
        for (int a = 0; a < 0x1000; ++a) {
            const auto i = static_cast<std::size_t>(a);
            const std::uint8_t expected = !c.fileSize ? fresh.read(a) : i < content.size() ? content[i] : 0xFF;
            ASSERT_EQ(memory.read(a), expected) << a;
        }
    }
}

TEST(MemoryFile, SaveAndLoadRoundTripAndLeaveNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("memory.bin");
    writeFile(path, pattern(300));  // an older image to be replaced

    sim::DeviceMemory memory;
    for (int a = 0; a < 0x1000; a += 3) memory.write(a, static_cast<std::uint8_t>(a));
    std::string error;
    ASSERT_TRUE(sim::saveMemoryFile(path, memory, &error)) << error;
    EXPECT_EQ(std::filesystem::file_size(path), 4096u);

    sim::DeviceMemory loaded;
    ASSERT_TRUE(sim::loadMemoryFile(path, loaded, &error)) << error;
    EXPECT_TRUE(std::ranges::equal(loaded.bytes(), memory.bytes()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(MemoryFile, UnusablePathsFailWithAReason) {
    TempDir dir;
    sim::DeviceMemory memory;
    std::string error;
    EXPECT_FALSE(sim::loadMemoryFile(dir.path().string(), memory, &error));  // a directory
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(sim::saveMemoryFile(dir.file("no/such/dir/memory.bin"), memory, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
