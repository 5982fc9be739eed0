#pragma once
// Device work as C++20 coroutines. A Task is lazy: nothing of it runs until
// it is awaited, or started by the JobRunner. Every wait in device work is a
// `co_await` on a Task or on one of the link's awaitables, so where a job can
// stop and let the rest of the program run is visible in its code.
//
// Why our own type rather than QCoro's: a QCoro Task starts when it is
// called and is resumed from Qt's event loop, while the command-line tool
// and the tests drive the same tasks over ports that block, with no event
// loop at all (RunToEnd below). The exchange core of the link stays free of
// Qt, and a task discarded before it ends is destroyed with its frames
// rather than left running.
#include <coroutine>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

namespace devlink {

template <typename T>
class Task;

namespace detail {

struct PromiseBase {
    std::coroutine_handle<> awaiter;  // resumed when this task ends
    std::exception_ptr error;

    std::suspend_always initial_suspend() noexcept { return {}; }
    // Hands control straight to the awaiter (no stack grows however many
    // tasks end in a row); with none, back to whoever resumed the task.
    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <typename Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> done) noexcept {
            const std::coroutine_handle<> next = done.promise().awaiter;
            return next ? next : std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { error = std::current_exception(); }
};

template <typename T>
struct Promise : PromiseBase {
    std::optional<T> value;
    Task<T> get_return_object();
    template <typename U>
    void return_value(U&& result) {
        value.emplace(std::forward<U>(result));
    }
    T take() {
        if (error) std::rethrow_exception(error);
        return std::move(*value);
    }
};

template <>
struct Promise<void> : PromiseBase {
    Task<void> get_return_object();
    void return_void() noexcept {}
    void take() const {
        if (error) std::rethrow_exception(error);
    }
};

}  // namespace detail

template <typename T = void>
class [[nodiscard]] Task {
public:
    using promise_type = detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle handle) : handle_(handle) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    bool valid() const { return static_cast<bool>(handle_); }
    bool done() const { return !handle_ || handle_.done(); }
    // Runs the task until it first waits or ends (the JobRunner's start).
    void start() {
        if (handle_ && !handle_.done()) handle_.resume();
    }
    // Once done: the result, or the exception that ended the task.
    T result() { return handle_.promise().take(); }

    // Awaiting a task runs it; the awaiter goes on when it has ended, with
    // its result or its exception.
    auto operator co_await() && noexcept {
        struct Awaiter {
            Handle handle;
            bool await_ready() const noexcept { return !handle || handle.done(); }
            std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
                handle.promise().awaiter = awaiting;
                return handle;
            }
            T await_resume() {
                if (!handle) throw std::logic_error("awaited an empty task");
                return handle.promise().take();
            }
        };
        return Awaiter{handle_};
    }

private:
    void reset() {
        if (handle_) handle_.destroy();
        handle_ = {};
    }

    Handle handle_;
};

template <typename T>
Task<T> detail::Promise<T>::get_return_object() {
    return Task<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline Task<void> detail::Promise<void>::get_return_object() {
    return Task<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

// Drives a task to its end where every wait blocks in place (the
// command-line tool's ports, the tests' fake ones): its result, or its
// exception. A task that waits for an event loop here can never be resumed:
// that is a fault of the caller, said at once.
template <typename T>
T RunToEnd(Task<T> task) {
    task.start();
    if (!task.done()) throw std::logic_error("a task waited for an event loop where none runs");
    return task.result();
}

}  // namespace devlink
