// The web remote in the editor, as the program arranges it, against the
// simulated device: a page's edit to its frame on the line, a device report
// to every one of ten pages, the memory ten pages cost, and the CPU of the
// server on and idle with them connected.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <vector>

#include "app/editor_remote_target.h"
#include "app/remote_dialogs.h"
#include "bench/support/cpu_time.h"
#include "bench/support/program_rig.h"
#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "remote/remote_server.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPages = 10;
const std::string kLinkPath = "/tmp/qrn-remote-figures-tty";

double MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// When each report was taken, and when the last SetNotch went out.
class LineTimes final : public devlink::LinkTrace {
public:
    void record(std::int64_t, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view) override {
        if (event == devlink::TraceEvent::Report) reports.push_back(Clock::now());
        if (event == devlink::TraceEvent::Out && bytes.size() > 2 && bytes[2] == 0x07) lastSetNotch = Clock::now();
    }
    std::vector<Clock::time_point> reports;
    Clock::time_point lastSetNotch;
};

struct Page {
    explicit Page(const QString& url) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived,
                         [this](const QString&) { arrivals.push_back(Clock::now()); });
        socket.open(QUrl(url));
    }
    QWebSocket socket;
    std::vector<Clock::time_point> arrivals;
};

void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool SpinUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_RemoteFigures(benchmark::State& state) {
    sim::PtyOptions options;
    options.linkPath = kLinkPath;
    options.reportIntervalMs = 100;
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, options, state)) return;
    bench_support::ProgramRig rig(kLinkPath);
    rig.runJob([&]() -> devlink::Task<void> { co_await rig.window->load(rig.splash); });
    app::RemoteDialogs remoteDialogs(rig.dialogs);
    app::EditorRemoteTarget target(*rig.window, rig.session.image, *rig.link, remoteDialogs);
    remote::RemoteServer server(target);
    QString error;
    if (!server.start(QHostAddress::LocalHost, 0, &error)) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    QString url = server.pageAddresses().front();
    url.replace(QLatin1String("http://"), QLatin1String("ws://")).replace(QLatin1String("/?"), QLatin1String("/socket?"));
    LineTimes line;
    rig.link->setTrace(&line);

    for (auto _ : state) {
        const double before = ResidentMb();
        std::vector<std::unique_ptr<Page>> pages;
        for (int p = 0; p < kPages; ++p) pages.push_back(std::make_unique<Page>(url));
        if (!SpinUntil(
                [&] {
                    return std::all_of(pages.begin(), pages.end(), [](const auto& p) { return !p->arrivals.empty(); });
                },
                10'000)) {
            state.SkipWithError("the pages did not all connect");
            return;
        }
        state.counters["memory_mb_for_10_pages"] = ResidentMb() - before;

        // Idle: the server on, ten pages open, nothing happening.
        const double cpuBefore = CpuSeconds();
        Spin(10'000);
        state.counters["idle_cpu_percent_of_a_core"] = 100 * (CpuSeconds() - cpuBefore) / 10;

        // A page's edits to their frames on the line.
        double editMs = 0;
        constexpr int kEdits = 20;
        for (int k = 0; k < kEdits; ++k) {
            const auto sent = Clock::now();
            pages[0]->socket.sendTextMessage(
                QStringLiteral(R"({"type":"notch","channel":0,"row":11,"field":"gain","value":%1})")
                    .arg(-(k % 2) * 6 - 3));
            SpinUntil([&] { return line.lastSetNotch > sent; }, 5000);
            editMs += MsBetween(sent, line.lastSetNotch);
            rig.waitUntilIdle();
        }
        state.counters["page_edit_to_frame_ms"] = editMs / kEdits;

        // A search: each report to every page.
        for (auto& page : pages) page->arrivals.clear();
        line.reports.clear();
        rig.window->editor().controls().searchButtons[1]->setChecked(true);
        Spin(3000);
        rig.window->editor().controls().searchButtons[1]->setChecked(false);
        rig.waitUntilIdle();
        double worst = 0, sum = 0;
        int counted = 0;
        for (const Clock::time_point report : line.reports) {
            double slowest = 0;
            for (const auto& page : pages) {
                const auto after = std::find_if(page->arrivals.begin(), page->arrivals.end(),
                                                [&](Clock::time_point t) { return t >= report; });
                if (after == page->arrivals.end()) continue;
                slowest = std::max(slowest, MsBetween(report, *after));
            }
            worst = std::max(worst, slowest);
            sum += slowest;
            ++counted;
        }
        state.counters["reports"] = counted;
        state.counters["report_to_every_page_ms_mean"] = counted ? sum / counted : 0;
        state.counters["report_to_every_page_ms_worst"] = worst;
    }
    rig.link->setTrace(nullptr);
}
BENCHMARK(BM_RemoteFigures)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
