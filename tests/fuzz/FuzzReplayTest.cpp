// Replays the kept corpus and every input that once broke a fuzz target through
// the same entry points, so each test run repeats them with the build's own
// compiler and sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

using FuzzEntry = int (*)(const std::uint8_t*, size_t);

// Files of `folder` in name order; none when it does not exist.
std::vector<fs::path> InputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    if (!fs::is_directory(folder)) return inputs;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

// Feeds corpus/<target>/ (which must hold seeds) and regressions/<target>/ (which
// may not exist yet) to `entry`.
void Replay(const char* target, FuzzEntry entry) {
    const fs::path root(VERADUNE_FUZZ_DIR);
    std::vector<fs::path> inputs = InputsIn(root / "corpus" / target);
    ASSERT_FALSE(inputs.empty()) << root / "corpus" / target << " holds no seed";
    const std::vector<fs::path> regressions = InputsIn(root / "regressions" / target);
    inputs.insert(inputs.end(), regressions.begin(), regressions.end());

    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        ASSERT_TRUE(in) << input;
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        // A sanitizer report ends the process before any test output: name the input first.
        std::fprintf(stderr, "replay %s\n", input.c_str());
        EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0)
            << input;
    }
}

TEST(FuzzReplay, ShopPage) {
    Replay("shop_page", FuzzShopPage);
}

TEST(FuzzReplay, CityPage) {
    Replay("city_page", FuzzCityPage);
}

TEST(FuzzReplay, TextConversion) {
    Replay("text_conversion", FuzzTextConversion);
}

TEST(FuzzReplay, ConfigLoad) {
    Replay("config_load", FuzzConfigLoad);
}

TEST(FuzzReplay, ExportOptions) {
    Replay("export_options", FuzzExportOptions);
}

}  // namespace
