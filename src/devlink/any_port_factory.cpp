#include "devlink/any_port_factory.h"

#include "devlink/job_wait_port.h"

namespace devlink {

std::unique_ptr<SerialPort> AnyPortFactory::makePort() {
    return std::make_unique<JobWaitPort>(std::make_unique<AnyPort>(), jobs_);
}

void AnyPortFactory::handOver(SerialPort& made) {
    if (auto* waiting = dynamic_cast<JobWaitPort*>(&made)) linkPort_.takeLineFrom(waiting->line());
}

}  // namespace devlink
