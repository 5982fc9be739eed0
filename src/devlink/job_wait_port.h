#pragma once
// The editor's port: a job's wait on it hands the window's event loop back
// (which paints, moves progress and takes input meanwhile), and the job is
// woken from the loop when bytes arrive, the port fails or the time is up.
// No event loop runs inside the wait. A wait outside a job driven from the
// loop blocks in place like any port.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "devlink/any_port.h"
#include "devlink/forwarding_port.h"
#include "devlink/job_runner.h"

namespace devlink {

class JobWaitPort final : public ForwardingPort, private WakingPort {
public:
    JobWaitPort(AnyPort& port, JobRunner& jobs) : ForwardingPort(port), port_(port), jobs_(jobs) {}
    // Owns its port (one of several the port search probes at once).
    JobWaitPort(std::unique_ptr<AnyPort> port, JobRunner& jobs)
        : ForwardingPort(*port), owned_(std::move(port)), port_(*owned_), jobs_(jobs) {}

    AnyPort& line() { return port_; }

    void waitForBytes(int timeoutMs) override;
    WakingPort* waking() override { return this; }

    // Waits that blocked in place in a program with a window: the window
    // stood still meanwhile.
    int waitsInPlace() const { return waitsInPlace_; }

private:
    JobRunner& waitingJobs() override { return jobs_; }
    void wakeOn(int timeoutMs) override;
    void stopWaking() override;

    std::unique_ptr<AnyPort> owned_;
    AnyPort& port_;
    JobRunner& jobs_;
    // Parent of the wait's connections: they end with it.
    std::unique_ptr<QTimer> deadline_;
    int waitsInPlace_ = 0;
};

// Posts calls through the event loop of the thread `context` lives in: what
// a JobRunner resumes its jobs with.
JobRunner::Post PostThrough(QObject& context);

}  // namespace devlink
