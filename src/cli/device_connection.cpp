#include "cli/device_connection.h"

#include "cli/option_values.h"
#include "connection/named_port.h"
#include "connection/port_search.h"
#include "devlink/commands.h"

namespace cli {

PortChoice ChoosePort(const GlobalOptions& options, devlink::PortTable table) {
    if (!options.port) return {std::move(table), std::nullopt};
    if (LooksLikePortNumber(*options.port)) return {std::move(table), options.port->toInt()};
    table.set(devlink::kFirstPort, connection::NamedPortPath(*options.port));
    return {std::move(table), devlink::kFirstPort};
}

QString OpenFailureText(int portNumber, const std::string& portName, devlink::PortFault fault,
                        const std::string& portSays) {
    const QString port = QString("Port %1 (%2)").arg(portNumber).arg(QString::fromStdString(portName));
    // An address on the network never "does not exist": nothing listened
    // there, the name was not found, no answer came in time.
    if (devlink::IsNetworkPortName(portName) && !portSays.empty())
        return port + ": " + QString::fromStdString(portSays);
    switch (fault) {
    case devlink::PortFault::NotFound: return port + " does not exist";
    case devlink::PortFault::Permission:
        return port + " exists, but this user may not open it (ls -l shows its group; join it and log in again)";
    case devlink::PortFault::InUse: return port + " is in use by another program";
    default: return port + " would not open";
    }
}

devlink::Task<ExitStatus> ConnectDevice(CommandContext& context, std::optional<int> portNumber) {
    devlink::DeviceLink& link = context.link;
    if (portNumber) {
        const std::string name = link.ports().name(*portNumber).value_or("");
        if (name.empty())
            co_return context.console.fail(ExitStatus::NoDevice,
                                           QString("Port %1 has no device path").arg(*portNumber));
        context.console.progress(QString("Opening %1").arg(QString::fromStdString(name)));
        if (!link.openPort(*portNumber)) {
            const QString why = OpenFailureText(*portNumber, name, link.lastOpenFault(), context.env.port.faultText());
            co_return context.console.fail(ExitStatus::NoDevice, why);
        }
        link.setReceiveSize(devlink::kReplySize);
        const bool answers = co_await link.probeDevice(devlink::ProbePayload());
        if (!answers) {
            link.closePort();
            co_return context.console.fail(
                ExitStatus::NoDevice,
                QString("No QRN4480 answers on port %1 (%2)").arg(*portNumber).arg(QString::fromStdString(name)));
        }
        co_return ExitStatus::Done;
    }
    context.console.progress("Searching the ports for the QRN4480: please wait");
    const connection::PortSearchResult search =
        co_await connection::SearchDevicePorts(link, context.env.readStoredPort());
    if (!search.found) {
        for (const int denied : search.permissionDenied)
            context.console.note(
                OpenFailureText(denied, link.ports().name(denied).value_or(""), devlink::PortFault::Permission));
        co_return context.console.fail(ExitStatus::NoDevice, "No QRN4480 answers on ports 1 to 35");
    }
    context.env.writeStoredPort(search.portNumber);
    co_return ExitStatus::Done;
}

}  // namespace cli
