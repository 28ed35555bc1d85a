#include "portal/PortalSockets.h"

#include <dirent.h>
#include <netdb.h>
#include <sys/socket.h>

#include <optional>

#include "portal/RequestTarget.h"

namespace portal {

namespace {

std::optional<Endpoint> EndpointOf(const sockaddr_storage& address, socklen_t length) {
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host,
                      service, sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        return std::nullopt;
    }
    const std::optional<int> port = ParseDecimal(service);
    if (!port) return std::nullopt;
    return Endpoint{host, *port};
}

bool SameEndpoint(const std::optional<Endpoint>& found, const Endpoint& wanted) {
    return found && found->port == wanted.port && found->address == wanted.address;
}

bool IsConnection(int fd, const Endpoint& local, const Endpoint& remote) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        !SameEndpoint(EndpointOf(address, length), local)) {
        return false;
    }
    length = sizeof address;
    return ::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
           SameEndpoint(EndpointOf(address, length), remote);
}

// The HTTP library does not hand the socket to request handlers, so it is found
// among the process's descriptors by its two endpoints. Only the thread serving
// that connection asks, and the connection stays open while it does, so the
// descriptor cannot be closed or reused meanwhile.
std::optional<int> FindConnection(const Endpoint& local, const Endpoint& remote) {
    DIR* descriptors = ::opendir("/proc/self/fd");
    if (descriptors == nullptr) return std::nullopt;
    std::optional<int> found;
    while (const dirent* entry = ::readdir(descriptors)) {
        const std::optional<int> fd = ParseDecimal(entry->d_name);
        if (fd && *fd != ::dirfd(descriptors) && IsConnection(*fd, local, remote)) {
            found = fd;
            break;
        }
    }
    ::closedir(descriptors);
    return found;
}

}  // namespace

void ReuseAddressOnly(int socket) {
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

bool ResetConnection(const Endpoint& local, const Endpoint& remote) {
    const std::optional<int> fd = FindConnection(local, remote);
    if (!fd) return false;
    // A zero linger time turns the library's later close into a reset as well.
    const linger abortive{1, 0};
    ::setsockopt(*fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    // Connecting a TCP socket to AF_UNSPEC disconnects it: the kernel sends the
    // reset now, while the descriptor stays valid for its owner to close.
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    return ::connect(*fd, &unspecified, sizeof unspecified) == 0;
}

}  // namespace portal
