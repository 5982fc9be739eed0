#pragma once
// The reports the device sends on its own while its feedback search runs,
// taken apart: which notch they name and the codes they carry. The bytes come
// from the line, so a report that names a notch or a code that does not
// exist is not a report of ours and decodes to nothing.
#include <cstdint>
#include <optional>
#include <span>

#include "devlink/device_link.h"
#include "model/preset_image.h"

namespace notch {

inline constexpr std::uint8_t kNotchReport = 0xFE;  // frequency, width and gain of a notch
inline constexpr std::uint8_t kGainReport = 0xFD;   // the gain alone

enum class ReportKind { Notch, Gain };

struct SearchReport {
    ReportKind kind = ReportKind::Notch;
    int n = 0;                // notch 0..23; channel byte 0 is Left, any other Right
    model::NotchCodes codes;  // a gain report carries only the gain
};

using ReportBytes = std::span<const std::uint8_t, devlink::kReportSize>;

std::optional<SearchReport> DecodeSearchReport(ReportBytes bytes);

// Writes what the report carries into its notch's image record: the whole
// record for a notch report, the gain byte alone for a gain report.
void StoreSearchReport(const SearchReport& report, model::PresetImage& image);

}  // namespace notch
