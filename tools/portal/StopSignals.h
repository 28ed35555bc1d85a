#pragma once

// SIGINT and SIGTERM for veradune-portal. POSIX only. They are blocked in every
// thread and taken by the main thread with a plain wait, so no signal handler ever
// interrupts the server's work.

namespace portal {

// Call before any thread starts: threads inherit the blocked set.
void BlockStopSignals();

// Returns the number of the stop signal that arrived.
int WaitForStopSignal();

}  // namespace portal
