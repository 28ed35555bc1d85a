#pragma once
#include "config/ConfigStore.h"

// The program's one settings object. It is read from "Config.xml" at start-up and
// written back only when the main window closes.
extern ConfigStore theConfig;
