#pragma once
#include <QObject>
#include <functional>

// Calls its function on the event loop whenever the process is asked from
// outside to end (on POSIX systems SIGTERM, SIGINT or SIGHUP), so that the
// program can close the way the user closes it.
class TerminationWatcher : public QObject {
public:
    TerminationWatcher(std::function<void()> onRequest, QObject* parent);
};
