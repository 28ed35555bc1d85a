#include "portal/StopSignals.h"

#include <pthread.h>
#include <signal.h>

namespace portal {

namespace {

sigset_t StopSignalSet() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

void BlockStopSignals() {
    const sigset_t signals = StopSignalSet();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

int WaitForStopSignal() {
    const sigset_t signals = StopSignalSet();
    int signal = 0;
    sigwait(&signals, &signal);
    return signal;
}

}  // namespace portal
