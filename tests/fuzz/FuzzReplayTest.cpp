// Replays the kept corpus and every input that once broke a fuzz target through
// the same entry points, with the build's own compiler and sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

// Each target's LLVMFuzzerTestOneInput, renamed at compile time.
extern "C" {
int FuzzShopPage(const std::uint8_t* data, size_t size);
int FuzzCityPage(const std::uint8_t* data, size_t size);
int FuzzTextConversion(const std::uint8_t* data, size_t size);
int FuzzConfigLoad(const std::uint8_t* data, size_t size);
int FuzzExportOptions(const std::uint8_t* data, size_t size);
}

namespace {

namespace fs = std::filesystem;

TEST(FuzzReplay, CorpusAndRegressions) {
    const struct {
        const char* target;
        int (*entry)(const std::uint8_t*, size_t);
    } targets[] = {{"shop_page", FuzzShopPage},
                   {"city_page", FuzzCityPage},
                   {"text_conversion", FuzzTextConversion},
                   {"config_load", FuzzConfigLoad},
                   {"export_options", FuzzExportOptions}};
    for (const auto& t : targets) {
        std::vector<fs::path> inputs;
        for (const char* kind : {"corpus", "regressions"}) {
            const fs::path folder = fs::path(VERADUNE_FUZZ_DIR) / kind / t.target;
            if (fs::is_directory(folder))
                for (const auto& entry : fs::directory_iterator(folder))
                    inputs.push_back(entry.path());
        }
        EXPECT_FALSE(inputs.empty()) << t.target << " has no seeds";
        std::sort(inputs.begin(), inputs.end());
        for (const fs::path& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            // A sanitizer ends the process before any test output: name the input first.
            std::fprintf(stderr, "replay %s\n", input.string().c_str());
            EXPECT_EQ(t.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                      0);
        }
    }
}

}  // namespace
