// The editor's own work per edit, with sending suppressed so that no frame
// exchange is measured: what the user waits for besides the line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/quiet_services.h"
#include "editor/parameter_editor.h"

namespace {

// Never written to: sending stays suppressed throughout.
class NoPort final : public devlink::SerialPort {
public:
    bool open(const std::string&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    void setReadSize(int) override {}
    bool write(std::span<const std::uint8_t>) override { return false; }
    int bytesWaiting() override { return 0; }
    void waitForBytes(int) override {}
    std::vector<std::uint8_t> read() override { return {}; }
    void discardInput() override {}
    devlink::PortFault fault() const override { return devlink::PortFault::None; }
    std::string faultText() const override { return {}; }
};

struct Editor {
    Editor() : link(port, clock, end, devlink::PortTable()), eq(image, link, dialogs) {
        std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
        image[76] = image[156] = 1;
        eq.fillFromImage();
        link.flags().suppressSend = true;
        eq.resize(1280, 800);
        eq.show();
        QApplication::processEvents();
    }
    NoPort port;
    devlink::SteadyClock clock;
    bench_support::RecordingEnd end;
    devlink::DeviceLink link;
    bench_support::YesDialogs dialogs;
    model::PresetImage image{};
    editor::ParameterEditor eq;
};

// sendNotch + computeNotchResponse + redraw of the channel's picture.
void BM_NotchEdit(benchmark::State& state) {
    Editor e;
    int gain = 0;
    for (auto _ : state) {
        {
            const auto quiet = e.eq.quietUpdates();
            e.eq.controls().rows[5].gainBar->setValue(gain);
        }
        e.eq.sendNotch(5);
        e.eq.computeNotchResponse(5);
        gain = (gain + 7) % 46;
    }
}
BENCHMARK(BM_NotchEdit)->Unit(benchmark::kMicrosecond);

// The same edit through the gain bar's handler, then painting the window.
void BM_NotchEditByBarAndPaint(benchmark::State& state) {
    Editor e;
    int gain = 0;
    for (auto _ : state) {
        e.eq.controls().rows[5].gainBar->setValue(gain);
        QApplication::processEvents();
        gain = (gain + 7) % 46;
    }
}
BENCHMARK(BM_NotchEditByBarAndPaint)->Unit(benchmark::kMicrosecond);

// A NotchReport during a search: image record, row, sendNotch with sending
// suppressed, the notch's response and the channel's curve. Two reports
// alternate so that every one changes the row.
void BM_HandleNotchReport(benchmark::State& state) {
    Editor e;
    const std::array<std::uint8_t, devlink::kReportSize> reports[2] = {{0xFE, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20},
                                                                       {0xFE, 0x01, 0x03, 0x02, 0x10, 0x01, 0x05}};
    int which = 0;
    for (auto _ : state) {
        e.eq.applySearchReport(reports[which]);
        which ^= 1;
    }
}
BENCHMARK(BM_HandleNotchReport)->Unit(benchmark::kMicrosecond);

void BM_ApplyPresetToEditor(benchmark::State& state) {
    Editor e;
    model::PresetImage other = e.image;
    for (int n = 0; n < model::kNotches; ++n) model::WriteNotchRecord(other, n, {n, 30 * n, n % 4});
    const model::PresetImage presets[2] = {e.image, other};
    int which = 0;
    for (auto _ : state) {
        e.image = presets[which];
        devlink::RunToEnd(e.eq.applyPresetToEditor());
        which ^= 1;
    }
}
BENCHMARK(BM_ApplyPresetToEditor)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return bench_support::RunBenchmarksInside<QApplication>(argc, argv);
}
