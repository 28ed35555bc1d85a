#pragma once
#include <optional>
#include <string>

// A saved portal page as the parsers read it: the UTF-8 file converted to
// Shift-JIS. Empty when the file is empty or starts with a NUL; nullopt only when
// the file cannot be read or is no plain file.
std::optional<std::string> ReadPageAsShiftJis(const std::string& path);
