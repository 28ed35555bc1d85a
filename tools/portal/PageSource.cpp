#include "portal/PageSource.h"

#include "acquire/PagePaths.h"
#include "pagegen/PageGenerator.h"
#include "platform/Files.h"
#include "shopdata/FixedTables.h"

namespace portal {

namespace {

std::optional<std::string> Lookup(const std::map<int, std::string>& pages, int id) {
    const auto found = pages.find(id);
    if (found == pages.end()) return std::nullopt;
    return found->second;
}

}  // namespace

MemoryPageSource::MemoryPageSource(std::map<int, std::string> cityPages,
                                   std::map<int, std::string> shopPages)
    : m_cityPages(std::move(cityPages)), m_shopPages(std::move(shopPages)) {}

std::optional<std::string> MemoryPageSource::CityPage(int cityId) const {
    return Lookup(m_cityPages, cityId);
}

std::optional<std::string> MemoryPageSource::ShopPage(int companyId) const {
    return Lookup(m_shopPages, companyId);
}

FolderPageSource::FolderPageSource(std::string folder) : m_folder(std::move(folder)) {}

std::optional<std::string> FolderPageSource::CityPage(int cityId) const {
    return ReadPage(CityPageFileName(cityId));
}

std::optional<std::string> FolderPageSource::ShopPage(int companyId) const {
    return ReadPage(ShopPageFileName(companyId));
}

std::optional<std::string> FolderPageSource::ReadPage(const std::string& fileName) const {
    std::string contents;
    if (!platform::ReadWholeFile(platform::JoinPath(m_folder, fileName), contents)) {
        return std::nullopt;
    }
    return contents;
}

std::unique_ptr<PageSource> MakeGeneratedPageSource(GeneratedPortal portal) {
    std::map<int, std::string> cityPages;
    for (size_t index = 0; index < CityTable().size(); ++index) {
        cityPages.emplace(CityTable()[index].id, std::move(portal.cityPagesUtf8[index]));
    }
    std::map<int, std::string> shopPages;
    for (GeneratedShop& shop : portal.shops) {
        shopPages.emplace(shop.companyId, std::move(shop.pageUtf8));
    }
    return std::make_unique<MemoryPageSource>(std::move(cityPages), std::move(shopPages));
}

std::unique_ptr<PageSource> MakeGeneratedPageSource(std::uint64_t seed, int shopCount,
                                                    int productsPerShop, int day) {
    return MakeGeneratedPageSource(GeneratePortal(seed, shopCount, productsPerShop, day));
}

}  // namespace portal
