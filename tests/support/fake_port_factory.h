#pragma once
// Fake ports for the port search, one object per port as the program makes
// them, on the same fake clock; the winner's line passes to the link's own
// FakePort, with what was written on it.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "devlink/port_factory.h"
#include "support/fake_port.h"

namespace testing_support {

class FakePortFactory final : public devlink::PortFactory {
public:
    FakePortFactory(FakePort& linkPort, FakeClock& clock) : linkPort_(linkPort), clock_(clock) {}

    // The far end of each port made: its answer to a write (empty: silence).
    std::function<Bytes(FakePort& port, const Bytes& written)> answer;
    // Names that do not open, and why.
    std::map<std::string, devlink::PortFault> refused;
    bool linePace = false;

    // Every write through a port made here, with the port's name, in order.
    std::vector<std::pair<std::string, Bytes>> writes;
    int made = 0;

    std::unique_ptr<devlink::SerialPort> makePort() override;
    void handOver(devlink::SerialPort& made) override;

private:
    FakePort& linkPort_;
    FakeClock& clock_;
};

}  // namespace testing_support
