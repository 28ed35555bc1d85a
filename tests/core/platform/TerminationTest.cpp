// Requests from outside to end reach the watch's function, and none reaches it once the watch
// is gone; the process lives on either way, so that the program decides how it closes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/TerminationRequests.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

struct Request {
    const char* what;
    bool (*send)();
};

#ifdef _WIN32
// Ctrl-C reaches every process of the console; false when the test runs without one.
bool PressCtrlC() {
    return GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
}
// What Windows sends every top-level window when the player logs off. Wine's first window
// in a fresh prefix can take seconds on a busy machine.
bool LogOff() {
    HWND window = nullptr;
    for (int i = 0; i < 2000 && window == nullptr; ++i) {
        window = FindWindowW(L"VeraduneSessionEnd", nullptr);
        if (window == nullptr) Sleep(10);
    }
    return window != nullptr && PostMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}
const Request kRequests[] = {{"log-off", LogOff}};
#else
const Request kRequests[] = {{"SIGTERM", [] { return std::raise(SIGTERM) == 0; }},
                             {"SIGHUP", [] { return std::raise(SIGHUP) == 0; }}};
#endif

bool WaitForCalls(const std::atomic<int>& calls, int count) {
    for (int i = 0; i < 500 && calls < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return calls == count;
}

TEST(TerminationWatch, EachRequestReachesTheWatchAndNoneOutlivesIt) {
    std::atomic<int> calls{0};
    {
        const platform::TerminationWatch watch([&] { ++calls; });
        ASSERT_TRUE(watch.Active());
        int expected = 0;
        for (const Request& request : kRequests) {
            ASSERT_TRUE(request.send()) << request.what;
            EXPECT_TRUE(WaitForCalls(calls, ++expected)) << request.what;
        }
    }
    const int before = calls;
    ASSERT_TRUE(kRequests[0].send());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(calls, before) << "a request reached a watch that is gone";
}

#ifdef _WIN32
TEST(TerminationWatch, CtrlCInAConsoleReachesTheWatch) {
    std::atomic<int> calls{0};
    const platform::TerminationWatch watch([&] { ++calls; });
    if (!PressCtrlC()) GTEST_SKIP() << "no console to press Ctrl-C in";
    EXPECT_TRUE(WaitForCalls(calls, 1));
}
#endif

}  // namespace
