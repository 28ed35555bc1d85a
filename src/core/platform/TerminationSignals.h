#pragma once

// Termination requests from outside (SIGTERM, SIGINT, SIGHUP) turned into
// something an event loop can wait for, so that the program can close normally
// instead of being cut off inside a signal handler.
namespace platform {

// A descriptor that becomes readable when a termination request arrives; the
// handlers are installed on the first call. -1 when they could not be set up.
int TerminationRequestFd();

// Consumes the pending requests once the descriptor has become readable.
void DrainTerminationRequests(int fd);

}  // namespace platform
