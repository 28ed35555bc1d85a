#include "acquire/WorkerThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

struct WorkerThread::State {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    std::uint32_t exitCode = kStillActive;
};

namespace {
std::atomic<std::uint32_t> nextThreadId{1};
}

std::uint32_t WorkerThread::Start(Procedure procedure, std::uint32_t stopTimeoutMs) {
    if (IsRunning()) return kStartFailed;
    Stop();  // a thread that has ended is still held until joined
    auto state = std::make_shared<State>();
    m_stopTimeoutMs = stopTimeoutMs;
    try {
        // The thread keeps its own reference to the state, so a thread that
        // outlives Stop still has somewhere to put its result.
        m_thread = std::thread([state, procedure = std::move(procedure)] {
            const std::uint32_t code = procedure();
            std::lock_guard lock(state->mutex);
            state->exitCode = code;
            state->finished = true;
            state->ended.notify_all();
        });
    } catch (const std::system_error&) {
        m_threadId = 0;
        m_stopTimeoutMs = 0;
        return kStartFailed;
    }
    m_state = std::move(state);
    m_threadId = nextThreadId.fetch_add(1);
    return m_threadId;
}

bool WorkerThread::IsRunning() const {
    return m_state && ExitCode() == kStillActive;
}

std::uint32_t WorkerThread::ExitCode() const {
    if (!m_state) return 0;
    std::lock_guard lock(m_state->mutex);
    return m_state->finished ? m_state->exitCode : kStillActive;
}

std::uint32_t WorkerThread::Stop() {
    if (!m_state) return 0;
    std::uint32_t code;
    {
        std::unique_lock lock(m_state->mutex);
        std::uint32_t waited = 0;
        while (!m_state->finished && m_stopTimeoutMs > waited) {
            m_state->ended.wait_for(lock, std::chrono::milliseconds(10));
            if (!m_state->finished) waited += 10;
        }
        code = m_state->finished ? m_state->exitCode : kStillActive;
    }
    if (code != kStillActive)
        m_thread.join();
    else
        m_thread.detach();
    m_state.reset();
    return code;
}
