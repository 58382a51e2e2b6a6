#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

// A job that runs in steps on the event loop: a coroutine that begins when it
// is awaited or started, suspends whenever it waits for the line, and hands
// its result to whoever awaits it. Nothing ever blocks or nests an event
// loop: the step that waits returns to the loop, and the next event that
// concerns it (characters, a tick, a timer) resumes it.
//
// A Task owns its coroutine; destroying an unfinished Task destroys the
// coroutine and every Task it awaits, without running the rest.
template <typename T = void>
class Task;

namespace task_detail
{

struct PromiseBase {
    std::coroutine_handle<> awaiting;
    // For a started task: told once it has ended. It must not destroy the
    // task from inside the call; the coroutine is still on its way out.
    std::function<void()> whenDone;
    // Run from inside the awaiting step's co_await: ending now, it lets that
    // step go on as the run returns instead of resuming it from here.
    bool runInline = false;

    struct FinalStep {
        bool await_ready() const noexcept { return false; }
        template <typename Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> self) noexcept
        {
            PromiseBase &promise = self.promise();
            if (promise.runInline)
                return std::noop_coroutine();
            if (promise.awaiting)
                return promise.awaiting;
            if (promise.whenDone) {
                const std::function<void()> done = std::move(promise.whenDone);
                done();
            }
            return std::noop_coroutine();
        }
        void await_resume() const noexcept {}
    };

    std::suspend_always initial_suspend() const noexcept { return {}; }
    FinalStep final_suspend() const noexcept { return {}; }
    void unhandled_exception() const noexcept { std::terminate(); }
};

template <typename T>
struct Promise : PromiseBase {
    std::optional<T> value;
    template <typename U>
    void return_value(U &&result)
    {
        value.emplace(std::forward<U>(result));
    }
    T take() { return std::move(*value); }
};

template <>
struct Promise<void> : PromiseBase {
    void return_void() const noexcept {}
    void take() const noexcept {}
};

} // namespace task_detail

template <typename T>
class [[nodiscard]] Task
{
public:
    struct promise_type : task_detail::Promise<T> {
        Task get_return_object() noexcept { return Task(Handle::from_promise(*this)); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    Task(Task &&other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    Task &operator=(Task &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, {});
        }
        return *this;
    }
    Task(const Task &) = delete;
    Task &operator=(const Task &) = delete;
    ~Task() { reset(); }

    bool isValid() const { return bool(m_handle); }
    bool isDone() const { return m_handle && m_handle.done(); }

    // Runs it up to its first wait. whenDone is called once it has ended,
    // from inside start() when it never had to wait.
    void start(std::function<void()> whenDone = {})
    {
        m_handle.promise().whenDone = std::move(whenDone);
        m_handle.resume();
    }
    // The result of a task that is done; it can be taken once.
    T takeResult() { return m_handle.promise().take(); }

    void reset()
    {
        if (m_handle)
            std::exchange(m_handle, {}).destroy();
    }

    // co_await runs it and gives its result. It runs here, up to its first
    // wait or its end: one that ends at once lets the awaiting step go on as
    // this returns, so that a run of such awaits never deepens the stack,
    // whether or not the compiler makes the handover a tail call (it does
    // not at -O1). One that waits resumes the awaiting step when it ends.
    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> awaiting) noexcept
    {
        auto &promise = m_handle.promise();
        promise.awaiting = awaiting;
        promise.runInline = true;
        m_handle.resume();
        promise.runInline = false;
        return !m_handle.done();
    }
    T await_resume() { return m_handle.promise().take(); }

private:
    explicit Task(Handle handle) : m_handle(handle) {}

    Handle m_handle;
};
