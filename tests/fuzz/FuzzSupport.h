#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "shopdata/TextConversion.h"

// A property that must hold for every input. A failure aborts, so libFuzzer keeps
// the input and the replay test dies on it.
[[noreturn]] inline void FuzzFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property fails: %s\n", file, line, condition);
    std::abort();
}
#define FUZZ_CHECK(condition) ((condition) ? void() : FuzzFailed(#condition, __FILE__, __LINE__))

inline std::string_view FuzzBytes(const std::uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A page goes to a parser's check through the CP932 conversion, as the program
// reads it, and as raw bytes, text the conversion never yields.
inline void CheckConvertedAndRaw(std::string_view page, void (*check)(std::string_view text)) {
    std::string text;
    Utf8ToShiftJis(page, text);
    check(text);
    check(page);
}

// A file of this process for input taken by path; on tmpfs where there is one,
// since a settings save is flushed.
inline std::string FuzzFile(const char* name, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    const std::string path =
        (base / ("veradune-fuzz-" + std::to_string(::getpid()) + name)).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}
