// Reports off the line during a feedback search, one after another, stored
// into the editor's image: only a report naming a real notch with codes in
// range is taken, it lands in that notch's record and nowhere else, and the
// image never leaves its ranges.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "notch/search_report.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// What a report must satisfy to be taken, written out apart from the decoder.
bool Acceptable(std::span<const std::uint8_t, devlink::kReportSize> b) {
    if (b[0] != notch::kNotchReport && b[0] != notch::kGainReport) return false;
    if (b[2] >= model::kRowsPerChannel || b[6] > model::kMaxGainCode) return false;
    if (b[0] == notch::kGainReport) return true;
    return b[3] * 256 + b[4] <= model::kMaxFreqCode && b[5] <= model::kMaxWidthCode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    for (std::size_t pos = 0; pos + devlink::kReportSize <= size; pos += devlink::kReportSize) {
        const notch::ReportBytes bytes(data + pos, devlink::kReportSize);
        const auto report = notch::DecodeSearchReport(bytes);
        Require(report.has_value() == Acceptable(bytes));
        if (!report) continue;
        const int channel = bytes[1] == 0 ? 0 : 1;
        Require(report->n == model::NotchIndex(channel, bytes[2]));

        const model::PresetImage before = image;
        notch::StoreSearchReport(*report, image);
        const int record = model::NotchRecordOffset.at(report->n);
        const int touched = report->kind == notch::ReportKind::Notch ? 4 : 1;
        for (int i = 0; i < model::kImageSize; ++i)
            if (i < record || i >= record + touched) Require(image[i] == before[i]);
        const model::NotchCodes stored = model::ReadNotchRecord(image, report->n);
        Require(stored.gain == bytes[6]);
        if (report->kind == notch::ReportKind::Notch)
            Require(stored == model::NotchCodes{bytes[6], bytes[3] * 256 + bytes[4], bytes[5]});
        Require(model::ImageCodesInRange(image));
    }
    return 0;
}
