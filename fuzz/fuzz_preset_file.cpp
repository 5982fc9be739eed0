// A .Fbk file of any length and content, read by the editor's own loader.
// It loads exactly when it holds at least 161 bytes whose codes all lie in
// range, and then as those bytes; otherwise the box names the file. A loaded
// preset saved and read again is the same preset.
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>

#include "presets/preset_file_format.h"
#include "presets/preset_file_io.h"
#include "scratch_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("preset.Fbk");
    fuzz::WriteScratch(path, data, size);
    const QString file = QString::fromStdString(path);

    bool loadable = size >= static_cast<std::size_t>(presets::kPresetFileSize);
    model::PresetImage expected{};
    if (loadable) {
        std::copy_n(data, expected.size(), expected.begin());
        loadable = model::ImageCodesInRange(expected);
    }
    const auto parsed = presets::ParsePresetFile(std::span(data, size));
    Require((parsed.check == presets::PresetFileCheck::Ok) == loadable);

    const auto loaded = presets::ReadPresetFile(file);
    Require(std::holds_alternative<model::PresetImage>(loaded) == loadable);
    if (!loadable) {
        Require(std::get<presets::PresetFileFailure>(loaded).text.startsWith(file));
        return 0;
    }
    Require(std::get<model::PresetImage>(loaded) == expected && parsed.image == expected);

    const QString copy = QString::fromStdString(fuzz::ScratchPath("copy.Fbk"));
    Require(!presets::WritePresetFile(copy, expected).has_value());
    const auto reread = presets::ReadPresetFile(copy);
    Require(std::holds_alternative<model::PresetImage>(reread) && std::get<model::PresetImage>(reread) == expected);
    return 0;
}
