// Config.xml reader. A file that loads must save and load again to the same
// settings; one that does not load must leave every setting as it was. Entity
// references must not let a small file fill memory: the text read is bounded by
// the file's own text (a character of a single-byte encoding such as ISO-8859-5
// takes two bytes in CP932) plus expansions up to the file's size.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/ConfigStore.h"

namespace {

size_t TextSize(const ConfigStore& config) {
    size_t size = config.portalId.size() + config.proxyServer.size() + config.proxyUser.size() +
                  config.proxyPassword.size() + config.lastUpdate.size() +
                  config.fileVersion.size();
    for (const std::string& word : config.searchHistory) size += word.size();
    return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const FuzzScratchFolder folder;
    const std::string path = folder.Write("Config.xml", FuzzBytes(data, size));

    ConfigStore loaded;
    if (!loaded.Load(path)) {
        FUZZ_CHECK(loaded == ConfigStore());
        return 0;
    }
    FUZZ_CHECK(TextSize(loaded) <= 3 * size);
    const std::string savedPath = folder.File("Saved.xml");
    FUZZ_CHECK(loaded.Save(savedPath));
    ConfigStore reloaded;
    FUZZ_CHECK(reloaded.Load(savedPath));
    FUZZ_CHECK(reloaded == loaded);
    return 0;
}
