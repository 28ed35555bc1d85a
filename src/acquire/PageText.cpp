#include "acquire/PageText.h"

#include "platform/Files.h"
#include "shopdata/TextConversion.h"

std::optional<std::string> ReadPageAsShiftJis(const std::string& path) {
    std::string raw;
    if (!platform::ReadWholeFile(path, raw)) return std::nullopt;
    // The conversion fails only on empty input, which leaves the text empty too.
    std::string text;
    Utf8ToShiftJis(raw, text);
    return text;
}
