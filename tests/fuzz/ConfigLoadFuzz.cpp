// Config.xml reader: a file that loads saves and loads again to the same
// settings, one that does not leaves them all as they were, and entities cannot
// make the text read outgrow the file (a single-byte character may take two
// bytes in CP932, and expansions draw on the file's size once more).
#include "FuzzSupport.h"
#include "config/ConfigStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path = FuzzFile("-Config.xml", FuzzBytes(data, size));
    ConfigStore loaded;
    const bool read = loaded.Load(path);
    std::filesystem::remove(path);
    if (!read) {
        FUZZ_CHECK(loaded == ConfigStore());
        return 0;
    }
    size_t text = loaded.portalId.size() + loaded.proxyServer.size() + loaded.proxyUser.size() +
                  loaded.proxyPassword.size() + loaded.lastUpdate.size() +
                  loaded.fileVersion.size();
    for (const std::string& word : loaded.searchHistory) text += word.size();
    FUZZ_CHECK(text <= 3 * size);
    const std::string saved = FuzzFile("-Saved.xml", "");
    ConfigStore reloaded;
    FUZZ_CHECK(loaded.Save(saved) && reloaded.Load(saved) && reloaded == loaded);
    std::filesystem::remove(saved);
    return 0;
}
