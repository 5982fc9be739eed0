#include "support/fake_port_factory.h"

namespace testing_support {

std::unique_ptr<devlink::SerialPort> FakePortFactory::makePort() {
    ++made;
    auto port = std::make_unique<FakePort>(clock_);
    FakePort* self = port.get();
    port->refused = refused;
    port->linePace = linePace;
    port->peer = [this, self](const Bytes& written) {
        writes.emplace_back(self->name(), written);
        return answer ? answer(*self, written) : Bytes{};
    };
    return port;
}

void FakePortFactory::handOver(devlink::SerialPort& made) {
    if (auto* fake = dynamic_cast<FakePort*>(&made)) linkPort_.takeLineFrom(*fake);
}

}  // namespace testing_support
