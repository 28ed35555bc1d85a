#pragma once
#include <functional>
#include <memory>

// Requests from outside to end the process, turned into a call the program can pass on to its
// event loop, so that it closes normally (saving its settings) instead of being cut off.
// POSIX: SIGTERM, SIGINT and SIGHUP. Windows: the console closed (Ctrl-C, Ctrl-Break, the
// window's close box), the player logging off or the system shutting down; Windows ends the
// process a few seconds after such a request whatever the program does.
namespace platform {

class TerminationWatch {
public:
    // `onRequest` runs on a thread of the platform layer, never inside a signal handler, and must
    // only hand the request on (e.g. post it to an event loop). While a watch lives, requests no
    // longer end the process by themselves. One watch at a time per process.
    explicit TerminationWatch(std::function<void()> onRequest);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

    // False when the system refused to deliver the requests.
    bool Active() const { return m_active; }

private:
    bool m_active = false;
};

}  // namespace platform
