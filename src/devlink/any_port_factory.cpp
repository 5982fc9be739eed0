#include "devlink/any_port_factory.h"

#include "devlink/event_pumping_port.h"

namespace devlink {

std::unique_ptr<SerialPort> AnyPortFactory::makePort() {
    return std::make_unique<EventPumpingPort>(std::make_unique<AnyPort>());
}

void AnyPortFactory::handOver(SerialPort& made) {
    if (auto* pumping = dynamic_cast<EventPumpingPort*>(&made)) linkPort_.takeLineFrom(pumping->line());
}

}  // namespace devlink
