// The settings kept from a run that did not end normally, of any length and
// content, read by the editor's own reader. It is taken exactly when it is
// what the editor writes for some valid image; then written again, it is
// the same bytes.
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "presets/autosave_file.h"
#include "scratch_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("kept.qrna");
    fuzz::WriteScratch(path, data, size);
    const auto read = presets::ReadAutosave(QString::fromStdString(path));
    Require(read.has_value());
    const auto decoded = presets::DecodeAutosave(std::span(data, size));
    Require(read->index() == decoded.index());
    const auto* image = std::get_if<model::PresetImage>(&decoded);
    if (!image) return 0;
    Require(model::ImageCodesInRange(*image));
    const std::vector<std::uint8_t> again = presets::EncodeAutosave(*image);
    Require(again.size() == size && std::equal(again.begin(), again.end(), data));
    return 0;
}
