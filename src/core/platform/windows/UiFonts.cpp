#include "platform/UiFonts.h"

namespace platform {

// Without a family named, Qt takes the system's message font, which on a Windows that is not
// set up for Japanese draws kanji from a Chinese font. Yu Gothic UI ships from Windows 8.1 on,
// Meiryo UI from Vista, MS UI Gothic with every version.
std::vector<std::string> JapaneseUiFontFamilies() {
    return {"Yu Gothic UI", "Meiryo UI", "MS UI Gothic"};
}

}  // namespace platform
