#pragma once
// The editor's port: a wait inside a job steps off the job's stack back to
// the window's event loop (which paints, moves progress and takes input
// meanwhile) and steps back in when bytes arrive, the port fails or the time
// is up. No event loop runs inside the wait. Outside a job, or where jobs
// run on the caller's stack, it waits in place like any blocking port.
#include <QObject>
#include <memory>

#include "devlink/any_port.h"
#include "devlink/forwarding_port.h"
#include "devlink/job_runner.h"

namespace devlink {

class JobWaitPort final : public ForwardingPort {
public:
    JobWaitPort(AnyPort& port, JobRunner& jobs) : ForwardingPort(port), port_(port), jobs_(jobs) {}
    // Owns its port (one of several the port search probes at once).
    JobWaitPort(std::unique_ptr<AnyPort> port, JobRunner& jobs)
        : ForwardingPort(*port), owned_(std::move(port)), port_(*owned_), jobs_(jobs) {}

    AnyPort& line() { return port_; }

    // Returns when bytes arrive, the port fails, the time is up or the job
    // is woken (cancelled).
    void waitForBytes(int timeoutMs) override;

    // Waits that could not step out (a job run where it was asked for in a
    // program with a window): the window stood still meanwhile.
    int waitsInPlace() const { return waitsInPlace_; }

private:
    std::unique_ptr<AnyPort> owned_;
    AnyPort& port_;
    JobRunner& jobs_;
    int waitsInPlace_ = 0;
};

// Posts calls through the event loop of the thread `context` lives in: what
// a JobRunner steps back in with.
JobRunner::Post PostThrough(QObject& context);

}  // namespace devlink
