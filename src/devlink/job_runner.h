#pragma once
// Device work runs as jobs, one at a time, in the order asked for. A job is
// a coroutine (Task): each of its waits for the device, or for the user's
// answer, is a `co_await` in its code.
//
// In the editor and in `qrn4480 serve` the runner is driven from the event
// loop: a job runs until its first wait, the loop goes on painting, moving
// progress and taking input, and the port's signal, the wait's timer or the
// answer resumes the job from the loop. Nothing runs inside an exchange and
// no event loop runs inside device work. A job asked for while another
// waits starts once that one has ended.
//
// The command-line tool and the tests drive the same jobs over ports that
// block: every wait completes in place, so a job has ended when run()
// returns, and an exception that ended it reaches the caller.
#include <coroutine>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devlink/task.h"

namespace devlink {

class JobRunner {
public:
    // A job is made when it starts, so what it captures lives as long as it
    // runs: the runner keeps the maker with its task.
    using Job = std::function<Task<void>()>;
    // Runs a call later from the event loop, never from inside the caller.
    using Post = std::function<void(std::function<void()>)>;

    JobRunner();
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Jobs are resumed from an event loop from now on, through `post`.
    void driveFromLoop(Post post);
    bool fromLoop() const { return static_cast<bool>(post_); }

    // Starts `job` now when nothing else runs or waits, and otherwise after
    // what is queued. Driven in place, the job has ended on return (an
    // exception that ended it is thrown here, once the jobs queued
    // meanwhile have run too); one asked for from inside another runs
    // after it, as it would from the loop.
    void run(Job job);

    // A job's code runs at this moment (it was started or resumed and has
    // not yet waited): no event loop may start here.
    bool running() const { return running_ > 0; }
    // A job runs or waits, or one is queued behind it.
    bool busy() const { return running_ > 0 || current_ != nullptr || !queue_.empty(); }
    // Jobs asked for that have not started.
    std::size_t queued() const { return queue_.size(); }
    // Forgets the jobs that have not started (the editor is ending).
    void dropQueued() { queue_.clear(); }
    // The program ends: the job still waiting is destroyed now, with its
    // frames, while what they refer to (the link, the port, the window)
    // still exists; those queued are forgotten.
    void abandon();
    // Told once nothing runs, waits or is queued any more.
    void setWhenIdle(std::function<void()> idle) { whenIdle_ = std::move(idle); }
    // Told, from the event loop, of an exception that ended a job driven
    // from it: the job is over, the program and the link go on.
    void setWhenFailed(std::function<void(const std::string& why)> failed) { whenFailed_ = std::move(failed); }

    // `co_await jobs.untilWoken()`: the job waits until wake() (the port's
    // signal, its timer, a cancel). Only where driven from the loop.
    auto untilWoken() {
        struct Awaiter {
            JobRunner& jobs;
            bool await_ready() const noexcept { return false; }
            void await_suspend(std::coroutine_handle<> waiting) { jobs.parked_ = waiting; }
            void await_resume() const noexcept {}
        };
        return Awaiter{*this};
    }
    // Resumes the waiting job soon, from the event loop. Several wakes
    // before it has gone on count as one.
    void wake();

    // `co_await jobs.answer<T>(start)`: runs `start` (from the event loop
    // where driven from one) and waits until the `reply` it is handed has
    // been called: a question's answer, a window closed. Meanwhile the rest
    // of the program goes on; what it asks of the device comes after this
    // job. Wakes meanwhile (a cancel) do not end the wait.
    template <typename T>
    auto answer(std::function<void(std::function<void(T)> reply)> start) {
        struct Awaiter {
            JobRunner& jobs;
            std::function<void(std::function<void(T)>)> start;
            std::optional<T> reply{};
            bool await_ready() const noexcept { return false; }
            bool await_suspend(std::coroutine_handle<> waiting) {
                if (!jobs.fromLoop()) {
                    // Asked in place (scripted answers): it has its answer
                    // now, or it never will.
                    start([this](T given) { reply.emplace(std::move(given)); });
                    return !reply.has_value();
                }
                jobs.post_([this, waiting, alive = jobs.alive_] {
                    if (!*alive) return;
                    start([this, waiting, alive](T given) {
                        if (!*alive || reply) return;
                        reply.emplace(std::move(given));
                        jobs.resumeSoon(waiting);
                    });
                });
                return true;
            }
            T await_resume() { return std::move(*reply); }
        };
        return Awaiter{*this, std::move(start)};
    }

    // Runs `call` once the job in progress is over (from the event loop
    // where driven from one), at once when no job is in progress.
    void later(std::function<void()> call);

private:
    struct Current {
        Job maker;
        Task<void> task;
    };

    void start(Job job);
    void runInPlace(const Job& job);
    void resume(std::coroutine_handle<> handle);
    void resumeSoon(std::coroutine_handle<> handle);
    void finish();
    void startNextQueued();
    void tellIfIdle();

    Post post_;
    std::unique_ptr<Current> current_;
    std::deque<Job> queue_;
    std::function<void()> whenIdle_;
    std::function<void(const std::string&)> whenFailed_;
    std::vector<std::function<void()>> afterJob_;
    std::coroutine_handle<> parked_;
    // Calls posted to the loop may outlive the runner (the program ends).
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    int running_ = 0;
    bool wakePosted_ = false;
};

}  // namespace devlink
