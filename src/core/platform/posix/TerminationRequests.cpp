#include "platform/TerminationRequests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <mutex>
#include <thread>

namespace platform {

namespace {

int g_writeEnd = -1;

// Only async-signal-safe calls here. The write end does not block, so a burst of
// signals that fills the pipe is simply dropped: one pending byte is enough.
void OnTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}

// The watch's function, read by the relay thread; empty while no watch lives.
struct Receiver {
    std::mutex mutex;
    std::function<void()> onRequest;
};

Receiver& TheReceiver() {
    static Receiver receiver;
    return receiver;
}

// The signal handlers write to a pipe; a thread of its own turns each burst of bytes into one
// call, outside the handler. Installed once and kept for the process's life.
bool InstallHandlers() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    if (fcntl(ends[1], F_SETFL, O_NONBLOCK) != 0) return false;
    g_writeEnd = ends[1];
    const int readEnd = ends[0];
    std::thread([readEnd] {
        char buffer[64];
        for (;;) {
            const ssize_t n = read(readEnd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            Receiver& receiver = TheReceiver();
            const std::lock_guard lock(receiver.mutex);
            if (receiver.onRequest) receiver.onRequest();
        }
    }).detach();
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        if (sigaction(signalNumber, &action, nullptr) != 0) return false;
    return true;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> onRequest) {
    static const bool installed = InstallHandlers();
    m_active = installed;
    Receiver& receiver = TheReceiver();
    const std::lock_guard lock(receiver.mutex);
    receiver.onRequest = std::move(onRequest);
}

// A request arriving later finds no function and is dropped; the lock waits for a call
// in progress, so none runs after the watch is gone.
TerminationWatch::~TerminationWatch() {
    Receiver& receiver = TheReceiver();
    const std::lock_guard lock(receiver.mutex);
    receiver.onRequest = nullptr;
}

}  // namespace platform
