// From a report's last byte reaching the port to its row and graph being
// updated, through the event loop as the program runs it: readyRead, the
// queued take, the link, the editor.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>
#include <chrono>

#include "app/report_watcher.h"
#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "devlink/any_port.h"
#include "editor/parameter_editor.h"
#include "sim/pseudo_terminal.h"
#include "ui/user_dialogs.h"

namespace {

void BM_ReportToRowLatency(benchmark::State& state) {
    sim::PseudoTerminal pty;
    std::string error;
    if (!pty.open(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    bench_support::OpenLink<devlink::AnyPort> line(pty.slavePath());
    devlink::DeviceLink& link = line.link;
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    bench_support::YesDialogs dialogs;
    editor::ParameterEditor eq(image, link, dialogs);
    eq.fillFromImage();
    QEventLoop* waiting = nullptr;
    std::chrono::steady_clock::time_point updated;
    app::ReportWatcher watcher(line.port, link, [&] {
        if (!link.pollSearchReports([&](auto report) { eq.applySearchReport(report); })) return;
        // Row, image and graph are updated and the acknowledgement is out.
        updated = std::chrono::steady_clock::now();
        if (waiting) waiting->quit();
    });
    QScrollBar* gain = eq.controls().rows[3].gainBar;

    std::uint8_t code = 10;
    for (auto _ : state) {
        code = code == 10 ? 20 : 10;
        const std::uint8_t report[10] = {0xFE, 0, 3, 0x01, 0x2C, 2, code, 0, 0, 0xF7};
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        const auto sent = std::chrono::steady_clock::now();
        if (::write(pty.masterFd(), report, sizeof report) != static_cast<ssize_t>(sizeof report)) {
            state.SkipWithError("write to the terminal failed");
            break;
        }
        loop.exec();
        waiting = nullptr;
        if (gain->value() != code) {
            state.SkipWithError("the report did not reach its row");
            break;
        }
        std::uint8_t ack[10];
        if (::read(pty.masterFd(), ack, sizeof ack) != static_cast<ssize_t>(sizeof ack)) {
            state.SkipWithError("no acknowledgement");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(updated - sent).count());
    }
    line.skipIfLost(state);
}
BENCHMARK(BM_ReportToRowLatency)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
