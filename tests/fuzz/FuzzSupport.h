#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "shopdata/TextConversion.h"

// Shared by the fuzz targets, which run under libFuzzer and inside the replay test.

// A property of the code under test that must hold for every input. A failure aborts,
// so libFuzzer keeps the input as a crash and the replay test dies on it.
#define FUZZ_CHECK(condition)                                                 \
    do {                                                                      \
        if (!(condition)) FuzzPropertyFailed(#condition, __FILE__, __LINE__); \
    } while (0)

[[noreturn]] inline void FuzzPropertyFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view FuzzBytes(const std::uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Hands a downloaded page to a page parser's check twice: through the CP932
// conversion, as the program reads it, and as the raw bytes, text the conversion
// never yields (lone lead bytes, bytes that are no character).
inline void CheckConvertedAndRaw(std::string_view page, void (*check)(std::string_view text)) {
    std::string text;
    Utf8ToShiftJis(page, text);
    check(text);
    check(page);
}

// A folder of this process for the inputs that the code under test takes by path.
// It lies on tmpfs where there is one: the settings file is flushed on every save.
class FuzzScratchFolder {
public:
    FuzzScratchFolder() {
        namespace fs = std::filesystem;
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::random_device random;
        m_path =
            base / ("veradune-fuzz-" + std::to_string(random()) + "-" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~FuzzScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FuzzScratchFolder(const FuzzScratchFolder&) = delete;
    FuzzScratchFolder& operator=(const FuzzScratchFolder&) = delete;

    std::string File(std::string_view name) const { return (m_path / name).string(); }

    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::filesystem::path m_path;
};
