#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// Owner of the one worker thread of a download. Stop waits a bounded time for
// the worker to end; a worker that has not ended by then is let go rather than
// killed (there is no safe way to kill a thread), so whatever it runs must hold
// its own data and check its cancel flag, and must not touch anything the caller
// frees after Stop returns.
class WorkerThread {
public:
    using Procedure = std::function<std::uint32_t()>;
    static constexpr std::uint32_t kStartFailed = 0xFFFFFFFF;

    WorkerThread() = default;
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `procedure` on a new thread; returns its id, or kStartFailed when a
    // thread is still running or none could be created.
    std::uint32_t Start(Procedure procedure, std::uint32_t stopTimeoutMs);
    bool IsRunning() const;
    // Waits up to the stop timeout, in 10 ms slices, for the thread to end. Returns
    // the procedure's result, kStillActive when the thread was let go still running,
    // 0 when there was none.
    std::uint32_t Stop();

    std::uint32_t ThreadId() const { return m_threadId; }
    std::uint32_t StopTimeoutMs() const { return m_stopTimeoutMs; }
    // The procedure's result once it has ended; 259 while it runs.
    std::uint32_t ExitCode() const;

    static constexpr std::uint32_t kStillActive = 259;

private:
    struct State;
    std::shared_ptr<State> m_state;
    std::thread m_thread;
    std::uint32_t m_threadId = 0;
    std::uint32_t m_stopTimeoutMs = 0;
};
