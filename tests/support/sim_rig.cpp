#include "support/sim_rig.h"

#include <algorithm>
#include <cstdio>

namespace testing_support {
namespace {

devlink::PortTable TableWithDeviceAt(int devicePort) {
    devlink::PortTable table;
    for (int n = devlink::kFirstPort; n <= devlink::kLastPort; ++n)
        table.set(n, n == devicePort ? std::string(kSimPortName) : "/dev/silent" + std::to_string(n));
    return table;
}

}  // namespace

SimRig::SimRig(int devicePort) : link(port, clock, end, TableWithDeviceAt(devicePort)) {
    port.peer = [this](const Bytes& written) {
        if (port.name() != kSimPortName) return Bytes{};
        return device.receive(written);
    };
}

void SimRig::connect() {
    for (int n = devlink::kFirstPort; n <= devlink::kLastPort; ++n)
        if (link.ports().name(n) == std::string(kSimPortName)) link.openPort(n);
    link.setReceiveSize(devlink::kReplySize);
}

std::vector<Bytes> SimRig::takeWrites() {
    std::vector<Bytes> fresh(port.writes.begin() + static_cast<std::ptrdiff_t>(taken_), port.writes.end());
    taken_ = port.writes.size();
    return fresh;
}

bool SimRig::deliverReport() {
    const Bytes report = device.takeReport();
    if (report.empty()) return false;
    port.deliver(report);
    return true;
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char cell[4];
    for (auto b : bytes) {
        std::snprintf(cell, sizeof cell, "%02X ", b);
        text += cell;
    }
    if (!text.empty()) text.pop_back();
    return text;
}

Bytes Frame(std::initializer_list<std::uint8_t> payload) {
    Bytes frame(10, 0);
    frame[0] = 0xF0;
    frame[1] = 0x5B;
    std::copy_n(payload.begin(), std::min<std::size_t>(payload.size(), 7), frame.begin() + 2);
    frame[9] = 0xF7;
    return frame;
}

}  // namespace testing_support
