#include "cli/serve_command.h"

#include <QElapsedTimer>
#include <algorithm>

#include "cli/device_reads.h"
#include "cli/device_target.h"
#include "connection/connection_status.h"
#include "remote/listen_address.h"
#include "remote/remote_server.h"

namespace cli {
namespace {

// The longest quiet wait; a request, a report, a job's end or a signal
// ends it sooner.
constexpr int kLongestWaitMs = 60'000;

}  // namespace

ExitStatus RunServe(CommandContext& context, const ServeCommand& command) {
    const remote::ListenAddress& where = command.listen;
    // Until the pages are served nothing else runs: the port's waits block
    // in place, as in every other command.
    if (const ExitStatus connected = devlink::RunToEnd(context.connect()); connected != ExitStatus::Done)
        return connected;
    devlink::DeviceLink& link = context.link;
    model::PresetImage image{};
    if (const ExitStatus read = devlink::RunToEnd(ReadCurrentSettingsFor(context, image)); read != ExitStatus::Done)
        return read;
    DeviceTarget target(link, image);
    remote::RemoteServer server(target);
    QString why;
    if (!server.start(where.address, where.port, &why))
        return context.console.fail(ExitStatus::Refused, QString("The remote cannot listen there: %1").arg(why));
    for (const QString& address : server.pageAddresses()) context.env.out << address.toStdString() << '\n';
    context.env.out.flush();
    context.console.progress("Serving the remote: Ctrl+C stops");

    // From here on the device work runs as jobs resumed from this loop's
    // wait, so the pages are served however slow or silent the device is;
    // nothing outside a job waits for it. The end of every job ends the
    // wait. A device that stops answering is tried again every two
    // seconds, as the editor does.
    context.env.driveJobsFromLoop();
    const devlink::DeviceWork::Watch jobsEnd = link.work().watch([&context](devlink::DeviceWork::WorkEvent event) {
        if (event == devlink::DeviceWork::WorkEvent::Free) context.env.wakeWait();
    });
    QElapsedTimer sinceProbe;
    bool offline = false;
    while (!context.env.stopRequested()) {
        if (link.jobs().busy()) {
            context.env.waitForActivity(kLongestWaitMs);
            continue;
        }
        if (link.lost()) {
            if (!offline) {
                offline = true;
                context.console.note(QString::fromStdString(context.end.message()) +
                                     " Edits from the pages are kept; trying the device every two seconds.");
                target.wentOffline();
                sinceProbe.invalidate();
            }
            if (link.finishReconnect()) {
                context.console.note("The device answers again");
                offline = false;
                link.jobs().run([&target]() -> devlink::Task<void> { co_await target.cameBack(); });
                continue;
            }
            if (!sinceProbe.isValid() || sinceProbe.elapsed() >= connection::kReconnectEveryMs) {
                link.beginReconnect();
                sinceProbe.restart();
            }
            context.env.waitForActivity(
                static_cast<int>(std::max<qint64>(connection::kReconnectEveryMs - sinceProbe.elapsed(), 0)));
            continue;
        }
        link.jobs().run([&target]() -> devlink::Task<void> {
            target.takeReports();
            co_return;
        });
        if (link.jobs().busy() || link.lost()) continue;
        int wait = kLongestWaitMs;
        if (link.reportUndecided()) wait = std::min(wait, static_cast<int>(devlink::kFrameLineMs + 1));
        context.env.waitForActivity(wait);
    }
    // No page may ask for more.
    server.stop();
    target.finish(context.env.waitForWake);
    context.console.note("Remote stopped");
    return ExitStatus::Done;
}

}  // namespace cli
