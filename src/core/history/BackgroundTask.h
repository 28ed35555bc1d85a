#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

// One piece of the history's slow work (opening and checking the store, recording
// a large download) on a thread of its own, so that the list need not wait for
// it. The work owns what it uses; the owner waits for it at Take, or when the
// task goes, and never ends it halfway: a record cut off would be lost.
template <class Result>
class BackgroundTask {
public:
    // Starts `work`. `ended` is called once it is done, on the task's thread, or on
    // the caller's when no thread could be started and the work was done at once.
    template <class Work>
    BackgroundTask(Work work, std::function<void()> ended = {}) {
        auto run = std::make_shared<Work>(std::move(work));
        const auto body = [this, run, ended = std::move(ended)] {
            m_result.emplace((*run)());
            if (ended) ended();
        };
        try {
            m_thread = std::thread(body);
        } catch (const std::system_error&) {
            body();
        }
    }
    ~BackgroundTask() {
        if (m_thread.joinable()) m_thread.join();
    }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Waits for the work to end and gives its result. Once only.
    Result Take() {
        if (m_thread.joinable()) m_thread.join();
        return std::move(*m_result);
    }

private:
    std::optional<Result> m_result;
    std::thread m_thread;
};
