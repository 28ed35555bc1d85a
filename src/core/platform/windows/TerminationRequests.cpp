#include "platform/TerminationRequests.h"

#include <windows.h>

#include <mutex>
#include <thread>

namespace platform {

namespace {

// Windows ends the process as soon as the handler of a console close, log-off or shutdown
// returns, or as soon as a window has answered WM_ENDSESSION. Both therefore wait until the
// watch is gone (the program has closed and saved) or the system's own deadline has passed.
constexpr DWORD kLongestWaitMs = 20000;

// State the console handler and the session window reach; they cannot be given a context.
struct Receiver {
    std::mutex mutex;
    std::function<void()> onRequest;
    HANDLE closed = nullptr;  // manual-reset event, set when the watch is destroyed
};

Receiver& TheReceiver() {
    static Receiver receiver;
    return receiver;
}

void Deliver() {
    Receiver& receiver = TheReceiver();
    const std::lock_guard lock(receiver.mutex);
    if (receiver.onRequest) receiver.onRequest();
}

void DeliverAndWaitForClose() {
    Deliver();
    WaitForSingleObject(TheReceiver().closed, kLongestWaitMs);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            Deliver();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            DeliverAndWaitForClose();
            return TRUE;
        default:
            return FALSE;
    }
}

// A program with windows gets no console log-off or shutdown events; every top-level window,
// hidden ones included, is asked instead.
LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION) {
        if (wParam) DeliverAndWaitForClose();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RunSessionWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VeraduneSessionEnd";
    if (RegisterClassW(&windowClass) == 0) return;
    if (CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                        nullptr, windowClass.hInstance, nullptr) == nullptr)
        return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

bool Install() {
    Receiver& receiver = TheReceiver();
    receiver.closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (receiver.closed == nullptr || !SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) return false;
    std::thread(RunSessionWindow).detach();
    return true;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> onRequest) {
    static const bool installed = Install();
    m_active = installed;
    Receiver& receiver = TheReceiver();
    const std::lock_guard lock(receiver.mutex);
    receiver.onRequest = std::move(onRequest);
    if (installed) ResetEvent(receiver.closed);
}

TerminationWatch::~TerminationWatch() {
    Receiver& receiver = TheReceiver();
    const std::lock_guard lock(receiver.mutex);
    receiver.onRequest = nullptr;
    if (m_active) SetEvent(receiver.closed);
}

}  // namespace platform
