#include "devlink/job_runner.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define QRN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QRN_ASAN 1
#endif
#endif
#ifdef QRN_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace devlink {
namespace {

// One level of a job's steps, let go however the step ends.
class Depth {
public:
    explicit Depth(int& depth) : depth_(depth) { ++depth_; }
    ~Depth() { --depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

private:
    int& depth_;
};

}  // namespace

// A stack for one job: entered from the event loop, left when the job waits
// and when it ends. The address sanitizer is told of every switch, or it
// would take the other stack's frames for overflows.
class JobStack {
public:
    explicit JobStack(std::function<void()> body) : body_(std::move(body)) {
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        size_ = kStackBytes + page;
        memory_ = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK,
                       -1, 0);
        if (memory_ == MAP_FAILED) std::abort();  // no memory for a stack: nothing sane is left to do
        // An overflow hits the guard page instead of the heap below.
        mprotect(memory_, page, PROT_NONE);
        bottom_ = static_cast<char*>(memory_) + page;
        getcontext(&job_);
        job_.uc_stack.ss_sp = bottom_;
        job_.uc_stack.ss_size = kStackBytes;
        job_.uc_link = nullptr;
        const auto self = reinterpret_cast<std::uintptr_t>(this);
        makecontext(&job_, reinterpret_cast<void (*)()>(&JobStack::Start), 2, static_cast<unsigned>(self >> 32U),
                    static_cast<unsigned>(self & 0xffffffffU));
    }
    ~JobStack() { munmap(memory_, size_); }
    JobStack(const JobStack&) = delete;
    JobStack& operator=(const JobStack&) = delete;

    bool finished() const { return finished_; }

    // From the event loop: runs the job until it waits or ends.
    void enter() {
#ifdef QRN_ASAN
        void* fake = nullptr;
        __sanitizer_start_switch_fiber(&fake, bottom_, kStackBytes);
        swapcontext(&caller_, &job_);
        __sanitizer_finish_switch_fiber(fake, nullptr, nullptr);
#else
        swapcontext(&caller_, &job_);
#endif
    }

    // From the job: back to whoever entered it.
    void leave() {
#ifdef QRN_ASAN
        void* fake = nullptr;
        __sanitizer_start_switch_fiber(&fake, callerBottom_, callerSize_);
        swapcontext(&job_, &caller_);
        __sanitizer_finish_switch_fiber(fake, &callerBottom_, &callerSize_);
#else
        swapcontext(&job_, &caller_);
#endif
    }

private:
#ifdef QRN_ASAN
    static constexpr std::size_t kStackBytes = std::size_t{8} << 20U;
#else
    static constexpr std::size_t kStackBytes = std::size_t{2} << 20U;
#endif

    static void Start(unsigned high, unsigned low) {
        // makecontext passes ints only: the stack's own address, in halves.
        auto* self = reinterpret_cast<JobStack*>(  // NOLINT(performance-no-int-to-ptr)
            (static_cast<std::uintptr_t>(high) << 32U) | low);
#ifdef QRN_ASAN
        __sanitizer_finish_switch_fiber(nullptr, &self->callerBottom_, &self->callerSize_);
#endif
        self->body_();
        self->finished_ = true;
#ifdef QRN_ASAN
        __sanitizer_start_switch_fiber(nullptr, self->callerBottom_, self->callerSize_);
#endif
        setcontext(&self->caller_);
    }

    std::function<void()> body_;
    ucontext_t job_{};
    ucontext_t caller_{};
    void* memory_ = nullptr;
    std::size_t size_ = 0;
    void* bottom_ = nullptr;
    bool finished_ = false;
#ifdef QRN_ASAN
    const void* callerBottom_ = nullptr;
    std::size_t callerSize_ = 0;
#endif
};

JobRunner::JobRunner() = default;
JobRunner::~JobRunner() = default;

void JobRunner::useOwnStacks(Post post) { post_ = std::move(post); }

void JobRunner::run(Body body) {
    if (running_ > 0) {
        // Part of the job in progress (a step it takes, an edit its own
        // code makes): it goes out where the job is.
        const Depth step(running_);
        body();
        return;
    }
    if (stack_ || !queue_.empty()) {
        queue_.push_back(std::move(body));
        return;
    }
    if (!post_) {
        {
            // The caller catches what it throws; the runner must not stay busy.
            const Depth step(running_);
            body();
        }
        tellIfIdle();
        return;
    }
    startOnOwnStack(std::move(body));
}

void JobRunner::startOnOwnStack(Body body) {
    stack_ = std::make_unique<JobStack>([this, job = std::move(body)] {
        running_ = 1;
        // Nothing above this frame on the job's stack could catch it: it
        // would end the program. The job ends here instead.
        std::string failure;
        try {
            job();
        } catch (const std::exception& error) {
            failure = error.what();
        } catch (...) {
            failure = "an unknown error";
        }
        running_ = 0;
        if (!failure.empty() && whenFailed_) post_([this, failure] { whenFailed_(failure); });
    });
    enter();
}

void JobRunner::enter() {
    suspended_ = false;
    stack_->enter();
    if (stack_->finished()) finishStack();
}

bool JobRunner::suspend() {
    if (!canSuspend()) return false;
    const int depth = std::exchange(running_, 0);
    suspended_ = true;
    stack_->leave();
    running_ = depth;
    return true;
}

void JobRunner::wake() {
    if (!suspended_ || wakePosted_) return;
    wakePosted_ = true;
    post_([this] {
        wakePosted_ = false;
        if (suspended_) enter();
    });
}

bool JobRunner::awaitFromLoop(std::function<void(Done done)> start) {
    if (!canSuspend()) return false;
    auto finished = std::make_shared<bool>(false);
    post_([this, start = std::move(start), finished] {
        start([this, finished] {
            *finished = true;
            wake();
        });
    });
    // Other wakes (a cancel) find it not done yet: it waits on.
    while (!*finished) suspend();
    return true;
}

void JobRunner::later(std::function<void()> call) {
    if (!post_) {
        call();
        return;
    }
    if (stack_) {
        afterJob_.push_back(std::move(call));
        return;
    }
    post_(std::move(call));
}

void JobRunner::finishStack() {
    // Back on the event loop's stack: the finished one can go.
    stack_.reset();
    suspended_ = false;
    for (auto& call : std::exchange(afterJob_, {})) post_(std::move(call));
    if (queue_.empty()) {
        tellIfIdle();
        return;
    }
    // Started from the event loop, not from inside whatever stepped in last.
    post_([this] { startNextQueued(); });
}

void JobRunner::startNextQueued() {
    if (stack_ || running_ > 0 || queue_.empty()) return;
    Body next = std::move(queue_.front());
    queue_.pop_front();
    startOnOwnStack(std::move(next));
}

void JobRunner::tellIfIdle() {
    if (!busy() && whenIdle_) whenIdle_();
}

}  // namespace devlink
