#include "abrupt/VictimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "abrupt/VictimPlan.h"

extern char** environ;

VictimProcess::VictimProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    std::vector<std::string> words = {VERADUNE_ABRUPT_VICTIM_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    // The portal's sockets of this process must not live on in the victim.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) m_pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    m_output = pipeEnds[0];
}

VictimProcess::~VictimProcess() {
    if (m_pid > 0) Kill();
    if (m_output >= 0) ::close(m_output);
}

bool VictimProcess::WaitForFirstWrite(std::chrono::milliseconds timeout) {
    if (m_announced) return true;
    pollfd ready{m_output, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) return false;
    return AnnouncedFirstWrite();
}

bool VictimProcess::Kill() {
    if (m_pid <= 0) return false;
    ::kill(m_pid, SIGKILL);
    while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
    }
    m_pid = 0;
    return WIFSIGNALED(m_status) && WTERMSIG(m_status) == SIGKILL;
}

bool VictimProcess::AnnouncedFirstWrite() {
    if (m_announced) return true;
    // Read only what is there: a killed victim's pipe reports its end at once.
    pollfd ready{m_output, POLLIN, 0};
    char byte = 0;
    m_announced = ::poll(&ready, 1, 0) == 1 && ::read(m_output, &byte, 1) == 1 &&
                  byte == victim::kFirstWriteDone;
    return m_announced;
}

std::string VictimProcess::EndText() const {
    if (WIFEXITED(m_status)) return "exited with status " + std::to_string(WEXITSTATUS(m_status));
    if (WIFSIGNALED(m_status)) return "died of signal " + std::to_string(WTERMSIG(m_status));
    return "status " + std::to_string(m_status);
}
