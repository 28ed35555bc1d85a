#pragma once
#include <QObject>
#include <functional>

#include "platform/TerminationRequests.h"

// Calls its function on the event loop whenever the process is asked from outside to end (on
// POSIX systems SIGTERM, SIGINT or SIGHUP; on Windows a closed console, a log-off or a
// shutdown), so that the program can close the way the user closes it.
class TerminationWatcher : public QObject {
public:
    TerminationWatcher(std::function<void()> onRequest, QObject* parent);

private:
    std::function<void()> m_onRequest;
    // Last: it stops delivering before the function it calls is destroyed.
    platform::TerminationWatch m_watch;
};
