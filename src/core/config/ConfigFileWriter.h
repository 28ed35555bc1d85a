#pragma once
#include <string>

class ConfigStore;

// The exact bytes of Config.xml for these settings: Shift-JIS, one element a line.
std::string SerializeConfig(const ConfigStore& config);
