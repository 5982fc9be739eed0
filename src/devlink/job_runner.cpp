#include "devlink/job_runner.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
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
        ++running_;
        body();
        --running_;
        return;
    }
    if (stack_ || !queue_.empty()) {
        queue_.push_back(std::move(body));
        return;
    }
    if (!post_) {
        ++running_;
        body();
        --running_;
        tellIfIdle();
        return;
    }
    startOnOwnStack(std::move(body));
}

void JobRunner::startOnOwnStack(Body body) {
    stack_ = std::make_unique<JobStack>([this, job = std::move(body)] {
        running_ = 1;
        job();
        running_ = 0;
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

JobRunner::Scope JobRunner::stepAside() {
    if (!post_ || !stack_ || running_ == 0) return Scope();
    asideDepths_.push_back(std::exchange(running_, 0));
    return Scope([this] {
        running_ = asideDepths_.back();
        asideDepths_.pop_back();
    });
}

JobRunner::Scope JobRunner::stepBackIn() {
    if (asideDepths_.empty() || running_ > 0 || suspended_) return Scope();
    running_ = asideDepths_.back();
    return Scope([this] { running_ = 0; });
}

void JobRunner::finishStack() {
    // Back on the event loop's stack: the finished one can go.
    stack_.reset();
    suspended_ = false;
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
