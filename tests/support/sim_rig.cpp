#include "support/sim_rig.h"

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

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
        return putOnLine(port, faults_->receive(written, sinceStart()));
    };
    portFactory.answer = [this](FakePort& line, const Bytes& written) {
        if (line.name() != kSimPortName) return Bytes{};
        return putOnLine(line, faults_->receive(written, sinceStart()));
    };
    link.setPortFactory(&portFactory);
}

void SimRig::useFaults(const std::vector<std::string>& faults, std::uint32_t seed) {
    sim::FaultScript script;
    script.seed = seed;
    for (const std::string& text : faults) {
        sim::Fault fault;
        std::string error;
        if (sim::parseFault(text, fault, &error))
            script.faults.push_back(fault);
        else
            ADD_FAILURE() << "fault '" << text << "': " << error;
    }
    faults_.emplace(device, std::move(script));
}

Bytes SimRig::putOnLine(FakePort& line, const std::vector<sim::FaultInjector::Output>& outputs) {
    // Outputs come in line order with delays that never shrink, so what is
    // due now is all at the front.
    Bytes now;
    for (const auto& o : outputs) {
        if (o.delayMs == 0)
            now.insert(now.end(), o.bytes.begin(), o.bytes.end());
        else
            line.deliverAt(clock.now + o.delayMs, o.bytes);
    }
    if (faults_->closed()) line.breakAtNextWait = true;
    return now;
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
    const auto outputs = faults_->takeReport(sinceStart());
    port.deliver(putOnLine(port, outputs));
    return !outputs.empty();
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
