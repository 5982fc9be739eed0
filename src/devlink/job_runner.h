#pragma once
// Device work runs as jobs, one at a time, in the order asked for.
//
// In the editor a job runs on a stack of its own. When it waits for the
// device it steps off that stack, back to the window's one event loop,
// which goes on painting, moving progress and taking input; the port's
// signal or the wait's timer steps back in, from that loop. So nothing runs
// inside an exchange, no event loop ever runs inside device work, and the
// code of a job (the link's exact frames, resends and time-outs) reads as
// the plain sequence it is on the line. A job asked for while another waits
// starts once that one has ended.
//
// The command-line tool and the tests run a job on the caller's stack, over
// ports that block: the same code, without a window to keep alive.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace devlink {

class JobStack;

class JobRunner {
public:
    using Body = std::function<void()>;
    // Runs a call later from the event loop, never from inside the caller.
    using Post = std::function<void(std::function<void()>)>;

    JobRunner();
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Jobs get stacks of their own from now on; `post` steps back in.
    void useOwnStacks(Post post);
    bool ownStacks() const { return static_cast<bool>(post_); }

    // Runs `body` now when nothing else runs or waits, inside the job in
    // progress when called from it, and otherwise after what is queued.
    void run(Body body);

    // The caller is inside a job's body.
    bool inJob() const { return running_ > 0; }
    // A job waits for the device, or one is queued behind it.
    bool busy() const { return running_ > 0 || stack_ != nullptr || !queue_.empty(); }
    // Jobs asked for that have not started.
    std::size_t queued() const { return queue_.size(); }
    // Forgets the jobs that have not started (the editor is ending).
    void dropQueued() { queue_.clear(); }
    // Told once nothing runs, waits or is queued any more.
    void setWhenIdle(std::function<void()> idle) { whenIdle_ = std::move(idle); }

    // The caller runs inside a job on its own stack, so it can step out.
    bool canSuspend() const { return post_ && stack_ && running_ > 0 && !suspended_; }
    // From inside a job on its own stack: steps out to the event loop until
    // wake() steps back in. False when the job cannot step out (the
    // caller's stack): the caller waits in place instead.
    bool suspend();
    // Steps back into the waiting job soon, from the event loop. Several
    // wakes before it has stepped in count as one.
    void wake();

    // From inside a job on its own stack: runs `start` from the event loop
    // and steps out until the `done` it is handed has been called (a
    // question's answer, a window closed). Meanwhile the rest of the program
    // goes on; what it asks of the device comes after this job, as while the
    // job waits for the device. False, and nothing started, anywhere else.
    using Done = std::function<void()>;
    bool awaitFromLoop(std::function<void(Done done)> start);

    // Runs `call` from the event loop once the caller's job is over: at
    // once where jobs run on the caller's stack.
    void later(std::function<void()> call);

    // The caller runs on a job's own stack, where no event loop may run:
    // loops must nest last in, first out on one stack, and a job's stack
    // is left and re-entered from whichever loop wakes it.
    bool onOwnStack() const { return stack_ != nullptr && !suspended_; }

    // Told, from the event loop, of an exception that ended a job on its own
    // stack: the job is over, the program and the link go on.
    void setWhenFailed(std::function<void(const std::string& why)> failed) { whenFailed_ = std::move(failed); }

private:
    void startOnOwnStack(Body body);
    void enter();
    void finishStack();
    void startNextQueued();
    void tellIfIdle();

    Post post_;
    std::unique_ptr<JobStack> stack_;
    std::deque<Body> queue_;
    std::function<void()> whenIdle_;
    int running_ = 0;
    std::function<void(const std::string&)> whenFailed_;
    std::vector<std::function<void()>> afterJob_;  // told once the job on its stack is over
    bool wakePosted_ = false;
    bool suspended_ = false;
};

}  // namespace devlink
