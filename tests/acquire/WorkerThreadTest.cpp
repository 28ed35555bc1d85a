#include "acquire/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

TEST(WorkerThread, RunsTheProcedureAndRefusesASecondStartWhileRunning) {
    WorkerThread worker;
    std::atomic<bool> release{false};
    const std::uint32_t id = worker.Start(
        [&] {
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 1u;
        },
        1000);
    ASSERT_NE(id, WorkerThread::kStartFailed);
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_EQ(worker.Start([] { return 0u; }, 1000), WorkerThread::kStartFailed);
    EXPECT_EQ(worker.ThreadId(), id);
    release = true;
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.StopTimeoutMs(), 1000u) << "Stop keeps the id and the timeout";
    EXPECT_EQ(worker.ThreadId(), id);
}

TEST(WorkerThread, StopReturnsAfterTheTimeoutWhenTheWorkerHangs) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    WorkerThread worker;
    worker.Start(
        [release] {
            while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0u;
        },
        100);
    const auto begin = Clock::now();
    worker.Stop();
    const auto waited = Clock::now() - begin;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    EXPECT_FALSE(worker.IsRunning());
    *release = true;  // the let-go thread ends on its own
}

TEST(WorkerThread, ExitCodeIsStillActiveUntilTheEnd) {
    WorkerThread worker;
    std::atomic<bool> release{false};
    worker.Start(
        [&] {
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 7u;
        },
        1000);
    EXPECT_EQ(worker.ExitCode(), WorkerThread::kStillActive);
    release = true;
    while (worker.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(worker.ExitCode(), 7u);
    EXPECT_NE(worker.Start([] { return 0u; }, 10), WorkerThread::kStartFailed)
        << "a thread that has ended no longer blocks a start";
}

}  // namespace
