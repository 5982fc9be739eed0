#include "cli/serve_command.h"

#include <algorithm>

#include "cli/device_reads.h"
#include "cli/device_target.h"
#include "remote/listen_address.h"
#include "remote/remote_server.h"

namespace cli {
namespace {

// The longest quiet wait; a request, a report or a signal ends it sooner.
constexpr int kLongestWaitMs = 60'000;

}  // namespace

ExitStatus RunServe(CommandContext& context, const ServeCommand& command) {
    remote::ListenAddress where;
    if (!command.listen.isEmpty()) where = remote::ParseListenAddress(command.listen, nullptr).value_or(where);
    if (const ExitStatus connected = context.connect(); connected != ExitStatus::Done) return connected;
    devlink::DeviceLink& link = context.link;
    model::PresetImage image{};
    if (const ExitStatus read = ReadCurrentSettingsFor(context, image); read != ExitStatus::Done) return read;
    DeviceTarget target(link, image, QStringLiteral("Connected"));
    remote::RemoteServer server(target);
    QString why;
    if (!server.start(where.address, where.port, &why))
        return context.console.fail(ExitStatus::Refused, QString("The remote cannot listen there: %1").arg(why));
    for (const QString& address : server.pageAddresses()) context.env.out << address.toStdString() << '\n';
    context.env.out.flush();
    context.console.progress("Serving the remote: Ctrl+C stops");

    // Requests are taken while the wait runs the event loop; reports when
    // their bytes wake it.
    while (!context.env.stopRequested() && !link.ended()) {
        target.takeReports();
        int wait = kLongestWaitMs;
        if (link.reportUndecided()) wait = std::min(wait, static_cast<int>(devlink::kFrameLineMs + 1));
        context.env.waitForActivity(wait);
    }
    target.stopSearch();
    server.stop();
    if (link.ended()) return context.lost();
    context.console.note("Remote stopped");
    return ExitStatus::Done;
}

}  // namespace cli
