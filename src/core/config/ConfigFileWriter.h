#pragma once
#include <string>

class ConfigStore;

// The exact bytes of Config.xml for these settings: Shift-JIS, one element a line.
std::string SerializeConfig(const ConfigStore& config);

// Replaces the file at `path` with SerializeConfig(config), readable by the owner
// only. False when it could not be written, the old file then staying as it was;
// the system's reason goes to `failureReason` when given.
bool WriteConfigFile(const std::string& path, const ConfigStore& config,
                     std::string* failureReason = nullptr);
