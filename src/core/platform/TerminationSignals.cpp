#include "platform/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

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

int InstallHandlers() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    g_writeEnd = ends[1];
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        if (sigaction(signalNumber, &action, nullptr) != 0) return -1;
    return ends[0];
}

}  // namespace

int TerminationRequestFd() {
    static const int readEnd = InstallHandlers();
    return readEnd;
}

void DrainTerminationRequests(int fd) {
    char buffer[64];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace platform
