#include "platform/UiFonts.h"

namespace platform {

// fontconfig chooses by the text's language.
std::vector<std::string> JapaneseUiFontFamilies() {
    return {};
}

}  // namespace platform
