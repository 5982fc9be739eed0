#pragma once
// What the program is told when it starts.
#include <QString>
#include <QStringList>
#include <optional>

namespace app {

struct StartOptions {
    bool simulate = false;
    bool demo = false;        // --demo: no port search, straight into demo mode
    QString simulatorMemory;  // --sim-memory: keep the simulated device's memory here
    std::optional<QString> portList;  // --ports, else QRN4480_PORTS
    QString presetFile;               // a .Fbk file to load once started
};

// Nothing when the arguments are wrong; `error` then says why (or holds the
// help text when help was asked for).
std::optional<StartOptions> ParseCommandLine(const QStringList& arguments, QString* error);

}  // namespace app
