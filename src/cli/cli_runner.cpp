#include "cli/cli_runner.h"

#include "cli/argument_parser.h"
#include "cli/backup_commands.h"
#include "cli/channel_commands.h"
#include "cli/device_connection.h"
#include "cli/device_listing.h"
#include "cli/preset_commands.h"
#include "cli/search_command.h"
#include "cli/serve_command.h"
#include "connection/trace_file.h"

namespace cli {
namespace {

// The one-shot commands: the port blocks, so each wait completes in place
// and the command has ended when this returns.
ExitStatus RunOnce(const Command& command, CommandContext& context, const std::optional<int>& portNumber) {
    const auto task = [&]() -> devlink::Task<ExitStatus> {
        if (const auto* ports = std::get_if<PortsCommand>(&command)) return RunPorts(context, portNumber, ports->all);
        if (std::holds_alternative<InfoCommand>(command)) return RunInfo(context);
        if (const auto* backup = std::get_if<BackupCommand>(&command)) return RunBackup(context, *backup);
        if (const auto* restore = std::get_if<RestoreCommand>(&command)) return RunRestore(context, *restore);
        if (const auto* read = std::get_if<ReadCommand>(&command)) return RunRead(context, *read);
        if (const auto* store = std::get_if<StoreCommand>(&command)) return RunStore(context, *store);
        if (const auto* load = std::get_if<LoadCommand>(&command)) return RunLoad(context, *load);
        if (const auto* save = std::get_if<SaveCommand>(&command)) return RunSave(context, *save);
        if (const auto* get = std::get_if<GetCommand>(&command)) return RunGet(context, *get);
        if (const auto* set = std::get_if<SetCommand>(&command)) return RunSet(context, *set);
        return RunSearch(context, std::get<SearchCommand>(command));
    };
    return devlink::RunToEnd(task());
}

ExitStatus Run(const Command& command, CommandContext& context, const std::optional<int>& portNumber) {
    // serve drives its own event loop, and its device work runs as jobs.
    if (const auto* serve = std::get_if<ServeCommand>(&command)) return RunServe(context, *serve);
    return RunOnce(command, context, portNumber);
}

}  // namespace

int RunCli(const QStringList& arguments, CliEnvironment& environment) {
    const ParsedArguments parsed = ParseArguments(arguments);
    if (const auto* print = std::get_if<PrintAndExit>(&parsed)) {
        environment.out << print->text.toStdString() << std::flush;
        return ExitCode(ExitStatus::Done);
    }
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) {
        Console console(environment.out, environment.err, {error->json, false, false});
        return ExitCode(console.fail(error->status, error->message));
    }
    const auto& invocation = std::get<Invocation>(parsed);
    Console console(environment.out, environment.err,
                    {invocation.global.json, invocation.global.quiet, environment.stderrIsTerminal});

    connection::TraceClock traceClock;
    connection::TraceFile trace(traceClock);
    if (!invocation.global.traceFile.isEmpty()) {
        QString error;
        if (!trace.open(invocation.global.traceFile, &error))
            return ExitCode(console.fail(
                ExitStatus::FileError,
                QString("The trace file %1 cannot be written (%2)").arg(invocation.global.traceFile, error)));
    }

    PortChoice choice = ChoosePort(invocation.global, environment.ports);
    CliLinkEnd end;
    devlink::JobRunner ownJobs;
    devlink::DeviceLink link(environment.port, environment.clock, end, std::move(choice.table),
                             environment.jobs ? *environment.jobs : ownJobs);
    if (trace.isOpen()) link.setTrace(&trace);
    CommandContext context{link, console, environment, end, {}};
    // Kept in the context for as long as a command runs, so what it
    // captures outlives every wait of the connect.
    context.connect = [&context, port = choice.portNumber]() -> devlink::Task<ExitStatus> {
        context.env.letStopSignalsEnd(true);
        const ExitStatus connected = co_await ConnectDevice(context, port);
        context.env.letStopSignalsEnd(false);
        co_return connected;
    };
    // Listing the ports only asks: a signal may end it at any moment.
    const bool onlyAsks = std::holds_alternative<PortsCommand>(invocation.command);
    environment.letStopSignalsEnd(onlyAsks);
    const ExitStatus status = Run(invocation.command, context, choice.portNumber);
    // A job cut off by the end refers to the link: it goes before the link.
    link.jobs().abandon();
    environment.letStopSignalsEnd(false);
    if (link.flags().portReady) link.closePort();
    return ExitCode(status);
}

}  // namespace cli
