#pragma once
// A command line taken apart: the options every command shares and the one
// command with its checked values. Values are already snapped onto the
// device's grid and inside their ranges: nothing here can be refused later
// except by what the device holds.
#include <QString>
#include <optional>
#include <variant>
#include <vector>

#include "cli/exit_status.h"
#include "remote/listen_address.h"

namespace cli {

struct GlobalOptions {
    std::optional<QString> port;  // a number 1..35, a device path or tcp://HOST:PORT
    QString traceFile;
    bool json = false;
    bool quiet = false;
};

struct PortsCommand {
    bool all = false;  // every number, not only the ports that exist
};
struct InfoCommand {};
struct BackupCommand {
    QString file;
    bool force = false;  // replace a file that is already there
};
struct RestoreCommand {
    QString file;
    std::vector<int> positions;  // 5..20, ascending; empty: every position in the file
    bool current = false;        // also send the file's current settings
    bool yes = false;
    bool full = false;  // every byte, not only those that differ
};
struct ReadCommand {
    int position = 0;  // 1..20
    QString file;
};
struct StoreCommand {
    int position = 0;  // 5..20
    QString name;
    QString file;
    bool full = false;  // every byte, not only those that differ
};
struct LoadCommand {
    QString file;
};
struct SaveCommand {
    QString file;
};
struct GetCommand {
    std::optional<int> channel;  // 0 Left, 1 Right; none: both
    std::optional<int> row;      // 0..11; none: every row
};

// One notch row's new values, each as its box or bar would take it.
struct NotchEdit {
    std::optional<int> freqCode;   // 0..729
    std::optional<int> gainCode;   // 0..45
    std::optional<int> widthCode;  // 0..3
};
// The channel's automatic settings as the device keeps them (states, not
// control positions): count 1..12, width 0..3, the others 0..1, sensitivity 0..15.
struct AutoEdit {
    std::optional<int> count, width, depth, release, mode, sensitivity;
    bool any() const { return count || width || depth || release || mode || sensitivity; }
};
struct SetCommand {
    int channel = 0;
    std::optional<int> row;  // 0..11, with a NotchEdit; none with an AutoEdit
    NotchEdit notch;
    AutoEdit autos;
};
struct SearchCommand {
    int selector = 0;               // 0 both, 1 Left, 2 Right
    std::optional<double> seconds;  // none: until a signal
};

// The web remote without a window: --listen [ADDRESS:]PORT, or every
// address on the usual port.
struct ServeCommand {
    remote::ListenAddress listen;
};

using Command = std::variant<PortsCommand, InfoCommand, BackupCommand, RestoreCommand, ReadCommand, StoreCommand,
                             LoadCommand, SaveCommand, GetCommand, SetCommand, SearchCommand, ServeCommand>;

struct Invocation {
    GlobalOptions global;
    Command command;
};

// --help or --version: the text goes to standard output, the exit code is 0.
struct PrintAndExit {
    QString text;
};

struct ArgumentError {
    ExitStatus status = ExitStatus::Usage;  // Usage, or Refused for a value out of its range
    QString message;
    bool json = false;  // --json was seen: the message goes out as a JSON line too
};

using ParsedArguments = std::variant<Invocation, PrintAndExit, ArgumentError>;

}  // namespace cli
