#pragma once
// The program's port factory: every port it makes is an AnyPort whose waits
// hand the event loop back like the link's own, and the one the device
// answered on passes its line to the link's own AnyPort, where the report
// watcher and the link's waits listen.
#include "devlink/any_port.h"
#include "devlink/job_runner.h"
#include "devlink/port_factory.h"

namespace devlink {

class AnyPortFactory final : public PortFactory {
public:
    AnyPortFactory(AnyPort& linkPort, JobRunner& jobs) : linkPort_(linkPort), jobs_(jobs) {}

    std::unique_ptr<SerialPort> makePort() override;
    void handOver(SerialPort& made) override;

private:
    AnyPort& linkPort_;
    JobRunner& jobs_;
};

}  // namespace devlink
