#pragma once
#include <string>
#include <vector>

namespace platform {

// The families, best first, in which the system draws Japanese in its own windows; the
// window toolkit takes the first one installed. Empty where the system's font
// configuration already picks a Japanese font by itself.
std::vector<std::string> JapaneseUiFontFamilies();

}  // namespace platform
