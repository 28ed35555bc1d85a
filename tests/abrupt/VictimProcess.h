#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// One run of the victim program (VictimMain.cpp), with its standard output on a
// pipe that this side reads. The process is killed and reaped at destruction at
// the latest.
class VictimProcess {
public:
    // Starts the victim with these arguments; Started() tells whether it did.
    explicit VictimProcess(const std::vector<std::string>& arguments);
    ~VictimProcess();
    VictimProcess(const VictimProcess&) = delete;
    VictimProcess& operator=(const VictimProcess&) = delete;

    bool Started() const { return m_pid > 0; }

    // Waits up to `timeout` for the announcement of the first completed write.
    bool WaitForFirstWrite(std::chrono::milliseconds timeout);

    // Sends SIGKILL and reaps the process. True when it was still running, i.e.
    // it died of that signal and not earlier by itself.
    bool Kill();

    // After Kill: whether the victim announced its first completed write.
    bool AnnouncedFirstWrite();

    // How the process ended, for failure messages.
    std::string EndText() const;

private:
    pid_t m_pid = -1;
    int m_output = -1;  // read end of the victim's standard output
    int m_status = 0;
    bool m_announced = false;
};
