#include "cli/argument_parser.h"

#include <map>

#include "cli/help_text.h"
#include "cli/option_values.h"
#include "qrn_version.h"
#include "remote/listen_address.h"

namespace cli {
namespace {

const QStringList kValueOptions = {"--port",  "--trace",       "--positions",  "--freq",  "--gain",
                                   "--width", "--auto-count",  "--auto-width", "--depth", "--release",
                                   "--mode",  "--sensitivity", "--seconds",    "--listen"};
const QStringList kFlagOptions = {"--json", "--quiet", "--help", "--version", "--current",
                                  "--yes",  "--all",   "--full", "--force"};
const QStringList kGlobalOptions = {"--port", "--trace", "--json", "--quiet"};

struct Scanned {
    QStringList positional;
    std::map<QString, QString> values;
    QStringList flags;
};

ArgumentError Usage(const QString& message) { return {ExitStatus::Usage, message + "\n" + kUsageHint}; }
ArgumentError Refused(const QString& message) { return {ExitStatus::Refused, message}; }

std::variant<Scanned, ArgumentError> Scan(const QStringList& arguments) {
    Scanned scanned;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith("--") || argument.size() == 2) {
            if (argument == "--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            scanned.positional << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf('=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (kFlagOptions.contains(name)) {
            if (equals >= 0) return Usage(QString("%1 takes no value").arg(name));
            if (!scanned.flags.contains(name)) scanned.flags << name;
            continue;
        }
        if (!kValueOptions.contains(name)) return Usage(QString("Unknown option %1").arg(name));
        if (scanned.values.count(name)) return Usage(QString("%1 is given twice").arg(name));
        if (equals >= 0) {
            scanned.values[name] = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            scanned.values[name] = arguments[++i];
        } else {
            return Usage(QString("%1 needs a value").arg(name));
        }
    }
    return scanned;
}

// The options the command takes besides the global ones.
QStringList CommandOptions(const QString& command) {
    if (command == "ports") return {"--all"};
    if (command == "backup") return {"--force"};
    if (command == "restore") return {"--positions", "--current", "--yes", "--full"};
    if (command == "store") return {"--full"};
    if (command == "set")
        return {"--freq",  "--gain",    "--width", "--auto-count", "--auto-width",
                "--depth", "--release", "--mode",  "--sensitivity"};
    if (command == "search") return {"--seconds"};
    if (command == "serve") return {"--listen"};
    return {};
}

// Arguments each command takes: the least and the most.
struct Arity {
    const char* command;
    int least;
    int most;
};
constexpr Arity kArities[] = {{"ports", 0, 0}, {"info", 0, 0},  {"backup", 1, 1}, {"restore", 1, 1},
                              {"read", 2, 2},  {"store", 3, 3}, {"load", 1, 1},   {"save", 1, 1},
                              {"get", 0, 2},   {"set", 1, 2},   {"search", 1, 1}, {"serve", 0, 0}};

class CommandBuilder {
public:
    explicit CommandBuilder(const Scanned& scanned) : s_(scanned), args_(scanned.positional.mid(1)) {}

    std::variant<Command, ArgumentError> build(const QString& command) {
        if (command == "ports") return PortsCommand{s_.flags.contains("--all")};
        if (command == "info") return InfoCommand{};
        if (command == "backup") return BackupCommand{args_[0], s_.flags.contains("--force")};
        if (command == "load") return LoadCommand{args_[0]};
        if (command == "save") return SaveCommand{args_[0]};
        if (command == "read") return read();
        if (command == "store") return store();
        if (command == "restore") return restore();
        if (command == "get") return get();
        if (command == "set") return set();
        if (command == "serve") return serve();
        return search();
    }

private:
    template <typename Parse>
    bool take(const QString& option, Parse parse, std::optional<int>& into) {
        const auto found = s_.values.find(option);
        if (found == s_.values.end()) return true;
        into = parse(found->second, &why_);
        return into.has_value();
    }

    std::variant<Command, ArgumentError> read() {
        const auto position = ParsePosition(args_[0], 1, &why_);
        if (!position) return Refused(why_);
        return ReadCommand{*position, args_[1]};
    }
    std::variant<Command, ArgumentError> store() {
        const auto position = ParsePosition(args_[0], 5, &why_);
        if (!position) return Refused(why_);
        return StoreCommand{*position, args_[1], args_[2], s_.flags.contains("--full")};
    }
    std::variant<Command, ArgumentError> restore() {
        RestoreCommand restore{
            args_[0], {}, s_.flags.contains("--current"), s_.flags.contains("--yes"), s_.flags.contains("--full")};
        const auto list = s_.values.find("--positions");
        if (list != s_.values.end()) {
            const auto positions = ParsePositionList(list->second, &why_);
            if (!positions) return Refused(why_);
            restore.positions = *positions;
        }
        return restore;
    }
    std::variant<Command, ArgumentError> get() {
        GetCommand get;
        if (args_.isEmpty()) return get;
        get.channel = ParseChannelWord(args_[0]);
        if (!get.channel) return Usage(QString("get: \"%1\" is not left or right").arg(args_[0]));
        if (args_.size() == 2 && !(get.row = ParseRow(args_[1], &why_))) return Refused(why_);
        return get;
    }
    std::variant<Command, ArgumentError> set() {
        SetCommand set;
        const auto channel = ParseChannelWord(args_[0]);
        if (!channel) return Usage(QString("set: \"%1\" is not left or right").arg(args_[0]));
        set.channel = *channel;
        if (!take("--freq", ParseFreqCode, set.notch.freqCode) || !take("--gain", ParseGainCode, set.notch.gainCode) ||
            !take("--width", ParseWidthCode, set.notch.widthCode) ||
            !take("--auto-count", ParseAutoCount, set.autos.count) ||
            !take("--auto-width", ParseWidthCode, set.autos.width) || !take("--depth", ParseDepth, set.autos.depth) ||
            !take("--release", ParseRelease, set.autos.release) || !take("--mode", ParseMode, set.autos.mode) ||
            !take("--sensitivity", ParseSensitivity, set.autos.sensitivity))
            return Refused(why_);
        const bool notchValues = set.notch.freqCode || set.notch.gainCode || set.notch.widthCode;
        if (args_.size() == 2) {
            if (set.autos.any()) return Usage("set: a NOTCH takes --freq, --gain and --width only");
            if (!notchValues) return Usage("set: give --freq, --gain or --width for the NOTCH");
            if (!(set.row = ParseRow(args_[1], &why_))) return Refused(why_);
            return set;
        }
        if (notchValues) return Usage("set: --freq, --gain and --width need a NOTCH");
        if (!set.autos.any()) return Usage("set: nothing to set");
        return set;
    }
    std::variant<Command, ArgumentError> search() {
        const auto selector = ParseSearchTarget(args_[0]);
        if (!selector) return Usage(QString("search: \"%1\" is not left, right or both").arg(args_[0]));
        SearchCommand search{*selector, std::nullopt};
        const auto seconds = s_.values.find("--seconds");
        if (seconds != s_.values.end() && !(search.seconds = ParseSeconds(seconds->second, &why_)))
            return Refused(why_);
        return search;
    }

    std::variant<Command, ArgumentError> serve() {
        const auto listen = s_.values.find("--listen");
        if (listen == s_.values.end()) return ServeCommand{};
        const std::optional<remote::ListenAddress> where = remote::ParseListenAddress(listen->second, &why_);
        if (!where) return Refused("--listen: " + why_);
        return ServeCommand{*where};
    }

    const Scanned& s_;
    QStringList args_;
    QString why_;
};

}  // namespace

ParsedArguments ParseArguments(const QStringList& arguments) {
    const auto scan = Scan(arguments);
    if (const auto* error = std::get_if<ArgumentError>(&scan)) return *error;
    const auto& scanned = std::get<Scanned>(scan);
    if (scanned.flags.contains("--help")) {
        // "COMMAND --help" as "help COMMAND"; a word that is no command
        // still gets the whole help, as --help alone.
        QString asked = scanned.positional.value(0);
        if (asked == "help" && scanned.positional.size() > 1) asked = scanned.positional[1];
        return PrintAndExit{CommandHelpText(asked).value_or(HelpText())};
    }
    if (scanned.flags.contains("--version")) return PrintAndExit{QString("qrn4480 %1\n").arg(kQrnVersion)};

    const bool json = scanned.flags.contains("--json");
    auto fail = [json](ArgumentError error) {
        error.json = json;
        return error;
    };
    if (scanned.positional.isEmpty()) return fail(Usage("No command given"));
    const QString command = scanned.positional.front();
    if (command == "help") {
        if (scanned.positional.size() == 1) return PrintAndExit{HelpText()};
        if (scanned.positional.size() > 2) return fail(Usage("help: wrong number of arguments"));
        if (const auto help = CommandHelpText(scanned.positional[1])) return PrintAndExit{*help};
        return fail(Usage(QString("Unknown command \"%1\"").arg(scanned.positional[1])));
    }
    const Arity* arity = nullptr;
    for (const Arity& a : kArities)
        if (command == a.command) arity = &a;
    if (!arity) return fail(Usage(QString("Unknown command \"%1\"").arg(command)));
    const auto count = scanned.positional.size() - 1;
    if (count < arity->least || count > arity->most)
        return fail(Usage(QString("%1: wrong number of arguments").arg(command)));

    const QStringList allowed = kGlobalOptions + CommandOptions(command);
    for (const auto& [name, value] : scanned.values)
        if (!allowed.contains(name)) return fail(Usage(QString("%1 does not take %2").arg(command, name)));
    for (const QString& flag : scanned.flags)
        if (!allowed.contains(flag)) return fail(Usage(QString("%1 does not take %2").arg(command, flag)));

    Invocation invocation;
    invocation.global.json = json;
    invocation.global.quiet = scanned.flags.contains("--quiet");
    if (const auto trace = scanned.values.find("--trace"); trace != scanned.values.end())
        invocation.global.traceFile = trace->second;
    if (const auto port = scanned.values.find("--port"); port != scanned.values.end()) {
        QString why;
        if (LooksLikePortNumber(port->second) && !ParsePortNumber(port->second, &why)) return fail(Refused(why));
        invocation.global.port = port->second;
    }
    auto built = CommandBuilder(scanned).build(command);
    if (auto* error = std::get_if<ArgumentError>(&built)) return fail(*error);
    invocation.command = std::get<Command>(std::move(built));
    return invocation;
}

}  // namespace cli
