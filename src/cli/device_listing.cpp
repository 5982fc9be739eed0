#include "cli/device_listing.h"

#include "cli/list_progress.h"
#include "cli/name_fields.h"
#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "model/preset_library.h"

namespace cli {
namespace {

QString Name(const std::u32string& name) { return QString::fromStdU32String(model::PrintablePresetName(name)); }

}  // namespace

devlink::Task<ExitStatus> RunPorts(CommandContext& context, std::optional<int> onlyPort, bool all) {
    devlink::DeviceLink& link = context.link;
    const int first = onlyPort.value_or(devlink::kFirstPort);
    const int last = onlyPort.value_or(devlink::kLastPort);
    // A port named by --port is shown whatever it is: it was asked about.
    const bool showMissing = all || onlyPort.has_value();
    int shown = 0;
    for (int port = first; port <= last; ++port) {
        const std::string path = link.ports().name(port).value_or("");
        const bool exists = !path.empty() && context.env.portExists(path);
        if (!exists && !showMissing) continue;
        bool answers = false;
        if (exists) {
            context.console.progress(QString("Asking port %1").arg(port));
            if (link.openPort(port)) {
                link.setReceiveSize(devlink::kReplySize);
                answers = co_await link.probeDevice(devlink::ProbePayload());
                link.closePort();
            }
        }
        const QString shownPath = QString::fromStdString(path);
        context.console.result(
            QString("%1 %2 %3%4")
                .arg(port, 2)
                .arg(shownPath.isEmpty() ? "-" : shownPath)
                .arg(exists ? "exists" : "missing")
                .arg(answers ? " QRN4480 answers" : ""),
            JsonLine().add("port", port).add("path", shownPath).add("exists", exists).add("answers", answers));
        ++shown;
    }
    if (shown == 0) context.console.note("None of ports 1 to 35 exists (ports --all lists every number)");
    co_return ExitStatus::Done;
}

devlink::Task<ExitStatus> RunInfo(CommandContext& context) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    devlink::DeviceLink& link = context.link;
    model::PresetLibrary library;
    ListProgress progress(context.console);
    const devlink::LibraryReadResult listed = co_await devlink::ReadDeviceLibrary(link, library, progress.steps());
    if (listed != devlink::LibraryReadResult::Read) co_return context.lost();
    const QString path = QString::fromStdString(link.ports().name(link.portNumber()).value_or(""));
    context.console.result(
        QString("Port %1 (%2), program %3").arg(link.portNumber()).arg(path, Name(library.programName)),
        JsonLine().add("port", link.portNumber()).add("path", path).merge(NameFields("program", library.programName)));
    for (int position = model::kFirstUserPosition; position <= model::kPresetPositions; ++position) {
        const auto index = static_cast<std::size_t>(position - 1);
        const bool used = library.used[index];
        const QString name = used ? Name(library.names[index]) : QString();
        context.console.result(QString("%1 %2").arg(position, 2, 10, QChar('0')).arg(used ? name : "(empty)"),
                               JsonLine()
                                   .add("position", position)
                                   .add("used", used)
                                   .merge(NameFields("name", used ? library.names[index] : std::u32string())));
    }
    co_return ExitStatus::Done;
}

}  // namespace cli
