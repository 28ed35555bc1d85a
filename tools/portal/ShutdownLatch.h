#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace portal {

// Lets request handlers wait (latency, stalls, slow bodies) without holding up the
// server's shutdown: Release ends every wait at once, and every later one.
class ShutdownLatch {
public:
    // True when the whole duration passed, false when released.
    bool WaitFor(std::chrono::milliseconds duration) {
        std::unique_lock lock(m_mutex);
        return !m_released.wait_for(lock, duration, [this] { return m_isReleased; });
    }

    void Release() {
        {
            std::lock_guard lock(m_mutex);
            m_isReleased = true;
        }
        m_released.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_isReleased = false;
};

}  // namespace portal
