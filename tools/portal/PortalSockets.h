#pragma once
#include <string>

// The socket work the portal needs beyond what its HTTP library offers. POSIX only.
namespace portal {

// Lets the listening socket rebind a port in TIME_WAIT but, unlike the HTTP library's
// default (SO_REUSEPORT), not share a port another server is listening on.
void ReuseAddressOnly(int socket);

// One side of a TCP connection, as the HTTP library reports it.
struct Endpoint {
    std::string address;  // numeric host
    int port = -1;
};

// Aborts the server-side connection between `local` and `remote` with a TCP reset,
// so the client gets no answer at all. The socket stays open, so the HTTP library
// that owns it fails its writes and closes it as usual. False when no such
// connection was found.
bool ResetConnection(const Endpoint& local, const Endpoint& remote);

}  // namespace portal
