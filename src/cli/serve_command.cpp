#include "cli/serve_command.h"

#include <QElapsedTimer>
#include <algorithm>

#include "cli/device_reads.h"
#include "cli/device_target.h"
#include "remote/listen_address.h"
#include "remote/remote_server.h"

namespace cli {
namespace {

// The longest quiet wait; a request, a report or a signal ends it sooner.
constexpr int kLongestWaitMs = 60'000;
// How often a device that stopped answering is tried again (the editor's).
constexpr int kReconnectEveryMs = 2000;

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
    // their bytes wake it. A device that stops answering is tried again
    // every two seconds, as the editor does, while the pages stay served.
    QElapsedTimer sinceProbe;
    bool offline = false;
    while (!context.env.stopRequested()) {
        if (link.lost()) {
            if (!offline) {
                offline = true;
                context.console.note(QString::fromStdString(context.end.message()) +
                                     " Edits from the pages are kept; trying the device every two seconds.");
                target.wentOffline(QString::fromStdString(context.end.message()));
                sinceProbe.invalidate();
            }
            if (link.finishReconnect()) {
                context.console.note("The device answers again");
                offline = false;
                target.cameBack();
                continue;
            }
            if (!sinceProbe.isValid() || sinceProbe.elapsed() >= kReconnectEveryMs) {
                link.beginReconnect();
                sinceProbe.restart();
            }
            context.env.waitForActivity(kReconnectEveryMs);
            continue;
        }
        target.takeReports();
        int wait = kLongestWaitMs;
        if (link.reportUndecided()) wait = std::min(wait, static_cast<int>(devlink::kFrameLineMs + 1));
        context.env.waitForActivity(wait);
    }
    if (!link.lost()) target.stopSearch();
    server.stop();
    context.console.note("Remote stopped");
    return ExitStatus::Done;
}

}  // namespace cli
