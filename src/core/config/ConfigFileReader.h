#pragma once
#include <string>

#include "config/ConfigStore.h"

// Reads Config.xml into `config`. Sections are known by their position, the
// file's text is converted to Shift-JIS and entity expansion is bounded by the
// file's own size. False, with `config` unchanged, when the file is missing, no
// plain file or not well-formed XML.
bool ReadConfigFile(const std::string& path, ConfigStore& config);
