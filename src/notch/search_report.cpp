#include "notch/search_report.h"

namespace notch {

std::optional<SearchReport> DecodeSearchReport(ReportBytes bytes) {
    const std::uint8_t kind = bytes[0];
    if (kind != kNotchReport && kind != kGainReport) return std::nullopt;
    const int channel = bytes[1] == 0 ? 0 : 1;
    const int row = bytes[2];
    const int gain = bytes[6];
    if (row >= model::kRowsPerChannel || gain > model::kMaxGainCode) return std::nullopt;
    SearchReport report{ReportKind::Gain, model::NotchIndex(channel, row), {gain, 0, 0}};
    if (kind == kGainReport) return report;

    report.kind = ReportKind::Notch;
    report.codes.freq = bytes[3] * 256 + bytes[4];
    report.codes.width = bytes[5];
    if (report.codes.freq > model::kMaxFreqCode || report.codes.width > model::kMaxWidthCode) return std::nullopt;
    return report;
}

void StoreSearchReport(const SearchReport& report, model::PresetImage& image) {
    if (report.kind == ReportKind::Notch)
        model::WriteNotchRecord(image, report.n, report.codes);
    else
        image[model::NotchRecordOffset.at(report.n)] = static_cast<std::uint8_t>(report.codes.gain);
}

}  // namespace notch
