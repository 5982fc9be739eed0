// qrn4480-sim: a simulated QRN4480 on a pseudo-terminal or a TCP port.
#include <signal.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "qrn_version.h"
#include "sim/fault_options.h"
#include "sim/pty_runner.h"

namespace {

std::atomic<bool> gStop{false};
sim::PtyRunner* gRunner = nullptr;

extern "C" void onSignal(int) {
    gStop.store(true);
    if (gRunner) gRunner->wake();
}

constexpr const char* kUsage =
    "Usage: qrn4480-sim [options]\n"
    "Simulates a QRN4480 feedback eliminator on a pseudo-terminal (or a TCP\n"
    "port) and prints one line: the terminal's path (or tcp:// address), then\n"
    "the link path if --link is given.\n"
    "\n"
    "  --link PATH            also make PATH a symbolic link to the terminal\n"
    "  --tcp PORT             serve TCP port PORT on 127.0.0.1 instead of a\n"
    "                         terminal (0: any free port), one client at a time,\n"
    "                         the newest taking over; prints tcp://127.0.0.1:PORT\n"
    "  --memory FILE          keep the device memory in FILE (4096 bytes)\n"
    "  --line-rate            pace the line at 4800 baud\n"
    "  --mute                 never answer (a dead device)\n"
    "  --log FILE             log every frame in and out to FILE\n"
    "  --report-interval MS   time between search reports (default 250)\n"
    "  --fault TRIGGER:ACTION  misbehave as a noisy or failing line (repeatable)\n"
    "  --fault-seed N         seed of the noise and extra bytes (default 1)\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "Fault triggers: frame=N (the Nth frame received, from 1), cmd=0xCC#N (the\n"
    "Nth frame of command 0xCC), report=N (the Nth report), time=MS (after start).\n"
    "Fault actions: mute (never answer again), close (unplug: the terminal goes\n"
    "away and the program ends), late=MS, duplicate, partial=N (first N bytes),\n"
    "extra=N (N random bytes after), noise=N (N random bytes before), stall=MS\n"
    "(read nothing from the line for MS); for reports\n"
    "only: garbage[=kind|channel|row|freq|width|gain] (out of range), burst=N\n"
    "(N reports without waiting for acknowledgements).\n"
    "Example: --fault frame=80:mute --fault cmd=0x10#5:noise=1 --fault report=3:duplicate\n";

enum class Parse { Run, Help, Version, Error };

Parse parseArgs(int argc, char** argv, sim::PtyOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "qrn4480-sim: %s needs a value\n", argv[i]);
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") return Parse::Help;
        if (arg == "--version") return Parse::Version;
        if (arg == "--line-rate") {
            options.lineRate = true;
        } else if (arg == "--mute") {
            options.mute = true;
        } else if (arg == "--link") {
            if (!value(options.linkPath)) return Parse::Error;
        } else if (arg == "--memory") {
            if (!value(options.memoryFile)) return Parse::Error;
        } else if (arg == "--log") {
            if (!value(options.logFile)) return Parse::Error;
        } else if (sim::isFaultOption(arg)) {
            std::string text, why;
            if (!value(text)) return Parse::Error;
            if (!sim::applyFaultOption(arg, text, options.faults, &why)) {
                std::fprintf(stderr, "qrn4480-sim: %s\n", why.c_str());
                return Parse::Error;
            }
        } else if (arg == "--report-interval") {
            std::string text;
            if (!value(text)) return Parse::Error;
            int ms = -1;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ms);
            if (ec != std::errc() || end != text.data() + text.size() || ms < 0) {
                std::fprintf(stderr, "qrn4480-sim: --report-interval wants milliseconds, not '%s'\n", text.c_str());
                return Parse::Error;
            }
            options.reportIntervalMs = ms;
        } else if (arg == "--tcp") {
            std::string text;
            if (!value(text)) return Parse::Error;
            int port = -1;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
            if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
                std::fprintf(stderr, "qrn4480-sim: --tcp wants a port number 0..65535, not '%s'\n", text.c_str());
                return Parse::Error;
            }
            options.tcpPort = port;
        } else {
            std::fprintf(stderr, "qrn4480-sim: unknown option '%s'\n", argv[i]);
            return Parse::Error;
        }
    }
    return Parse::Run;
}

}  // namespace

int main(int argc, char** argv) {
    sim::PtyOptions options;
    switch (parseArgs(argc, argv, options)) {
    case Parse::Help: std::fputs(kUsage, stdout); return 0;
    case Parse::Version: std::printf("qrn4480-sim %s\n", kQrnVersion); return 0;
    case Parse::Error: std::fputs(kUsage, stderr); return 2;
    case Parse::Run: break;
    }

    sim::PtyRunner runner;
    std::string error;
    if (!runner.start(options, &error)) {
        std::fprintf(stderr, "qrn4480-sim: %s\n", error.c_str());
        return 1;
    }
    gRunner = &runner;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    // Scripts wait for this one line to learn where to connect: the
    // terminal first, then the link if one was asked for.
    std::printf("%s%s%s\n", runner.slavePath().c_str(), options.linkPath.empty() ? "" : " ", options.linkPath.c_str());
    std::fflush(stdout);

    runner.run(gStop);

    gRunner = nullptr;
    if (!runner.finish(&error)) {
        std::fprintf(stderr, "qrn4480-sim: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
