#include "devlink/job_runner.h"

#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

namespace devlink {
namespace {

// One level of job code running, let go however it ends.
class Running {
public:
    explicit Running(int& depth) : depth_(depth) { ++depth_; }
    ~Running() { --depth_; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    int& depth_;
};

}  // namespace

JobRunner::JobRunner() = default;

JobRunner::~JobRunner() {
    *alive_ = false;
    abandon();
}

void JobRunner::abandon() {
    queue_.clear();
    afterJob_.clear();
    parked_ = {};
    // Nothing resumes it any more; what it held is let go.
    current_.reset();
}

void JobRunner::driveFromLoop(Post post) { post_ = std::move(post); }

void JobRunner::run(Job job) {
    if (!post_) {
        // One at a time here too: a job asked for by another one's code
        // (an edit made while a reply was awaited) runs once that one has
        // ended, before the first run() returns.
        queue_.push_back(std::move(job));
        if (running_ > 0) return;
        std::exception_ptr failure;
        while (!queue_.empty()) {
            Job next = std::move(queue_.front());
            queue_.pop_front();
            try {
                runInPlace(next);
            } catch (...) {
                if (!failure) failure = std::current_exception();
            }
        }
        tellIfIdle();
        if (failure) std::rethrow_exception(failure);  // the caller catches what ended it
        return;
    }
    if (current_ || !queue_.empty()) {
        queue_.push_back(std::move(job));
        return;
    }
    start(std::move(job));
}

void JobRunner::runInPlace(const Job& job) {
    Task<void> task;
    {
        const Running running(running_);
        task = job();
        task.start();
    }
    if (!task.done()) throw std::logic_error("a job waited for an event loop where none runs");
    task.result();
}

void JobRunner::start(Job job) {
    current_ = std::make_unique<Current>(Current{std::move(job), {}});
    {
        const Running running(running_);
        current_->task = current_->maker();
        current_->task.start();
    }
    if (current_->task.done()) finish();
}

void JobRunner::resume(std::coroutine_handle<> handle) {
    if (!current_) return;
    {
        const Running running(running_);
        handle.resume();
    }
    if (current_ && current_->task.done()) finish();
}

void JobRunner::resumeSoon(std::coroutine_handle<> handle) {
    post_([this, handle, alive = alive_] {
        if (*alive) resume(handle);
    });
}

void JobRunner::wake() {
    if (!parked_ || wakePosted_ || !post_) return;
    wakePosted_ = true;
    post_([this, alive = alive_] {
        if (!*alive) return;
        wakePosted_ = false;
        if (const std::coroutine_handle<> waiting = std::exchange(parked_, {})) resume(waiting);
    });
}

void JobRunner::later(std::function<void()> call) {
    if (!post_) {
        call();
        return;
    }
    if (current_) {
        afterJob_.push_back(std::move(call));
        return;
    }
    post_(std::move(call));
}

void JobRunner::finish() {
    std::string failure;
    try {
        current_->task.result();
    } catch (const std::exception& error) {
        failure = error.what();
        if (failure.empty()) failure = "an unknown error";
    } catch (...) {
        failure = "an unknown error";
    }
    // Its frames go now, and with them what the job held.
    current_.reset();
    parked_ = {};
    if (!failure.empty() && whenFailed_) post_([this, failure, alive = alive_] {
            if (*alive && whenFailed_) whenFailed_(failure);
        });
    for (auto& call : std::exchange(afterJob_, {})) post_(std::move(call));
    if (queue_.empty()) {
        tellIfIdle();
        return;
    }
    // Started from the event loop, not from inside whatever resumed last.
    post_([this, alive = alive_] {
        if (*alive) startNextQueued();
    });
}

void JobRunner::startNextQueued() {
    if (current_ || queue_.empty()) return;
    Job next = std::move(queue_.front());
    queue_.pop_front();
    start(std::move(next));
}

void JobRunner::tellIfIdle() {
    if (!busy() && whenIdle_) whenIdle_();
}

}  // namespace devlink
