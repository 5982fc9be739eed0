#pragma once
// What the program is told when it starts.
#include <QString>

#include <QStringList>
#include <optional>
#include <variant>
#include "remote/listen_address.h"

namespace app {

struct StartOptions {
    bool simulate = false;
    bool demo = false;                            // --demo: no port search, straight into demo mode
    QString simulatorMemory;                      // --sim-memory: keep the simulated device's memory here
    std::optional<QString> portList;              // --ports, else QRN4480_PORTS
    std::optional<QString> port;                  // --port: the one port, as port 1
    QString presetFile;                           // a .Fbk file to load once started
    QString traceFile;                            // --trace: every frame in and out, with time stamps
    std::optional<remote::ListenAddress> remote;  // --remote: the web remote on from the start
};

// --help or --version: `text` goes to standard output, the exit code is 0.
struct PrintAndExit {
    QString text;
};

// --help-all: Qt's own options are known only to Qt, which prints the text.
struct PrintHelpWithQtOptions {};

// Wrong arguments: `message` goes to standard error, the exit code is 2.
struct UsageError {
    QString message;
};

using CommandLine = std::variant<StartOptions, PrintAndExit, PrintHelpWithQtOptions, UsageError>;

inline constexpr int kUsageErrorExitCode = 2;

CommandLine ParseCommandLine(const QStringList& arguments);

// Prints the help with Qt's options on standard output and ends the program
// with 0, as Qt does for --help-all. Needs the QApplication.
[[noreturn]] void PrintHelpWithQtOptionsAndExit(const QStringList& arguments);

}  // namespace app
