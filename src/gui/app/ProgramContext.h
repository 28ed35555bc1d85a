#pragma once
#include <string>

#include "config/WorkingFolder.h"

class Clock;

// What the program runs with, decided once at its start: the folder it works in,
// the portal it downloads from and the clock that stamps the updates.
struct ProgramContext {
    WorkingFolder folder;
    std::string portalHost;
    const Clock* clock = nullptr;
};
