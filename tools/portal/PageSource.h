#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "pagegen/PageGenerator.h"

namespace portal {

// Where the portal's pages come from. Pages are UTF-8 HTML, served byte for byte.
// Called from the server's worker threads at once, so implementations must not
// change state while they answer.
class PageSource {
public:
    virtual ~PageSource() = default;
    // Empty when the portal has no such page.
    virtual std::optional<std::string> CityPage(int cityId) const = 0;
    virtual std::optional<std::string> ShopPage(int companyId) const = 0;
};

// Pages held in memory, by city id and by company id.
class MemoryPageSource : public PageSource {
public:
    MemoryPageSource(std::map<int, std::string> cityPages, std::map<int, std::string> shopPages);
    std::optional<std::string> CityPage(int cityId) const override;
    std::optional<std::string> ShopPage(int companyId) const override;

private:
    std::map<int, std::string> m_cityPages;
    std::map<int, std::string> m_shopPages;
};

// Pages saved as the download job saves them ("CityNo%03d.html", "ShopNo%03d.html").
// Each request reads the file anew, so a test may change the pages while the server
// runs.
class FolderPageSource : public PageSource {
public:
    explicit FolderPageSource(std::string folder);
    std::optional<std::string> CityPage(int cityId) const override;
    std::optional<std::string> ShopPage(int companyId) const override;

private:
    std::optional<std::string> ReadPage(const std::string& fileName) const;

    std::string m_folder;
};

// The pages of a generated portal, moved out of it.
std::unique_ptr<PageSource> MakeGeneratedPageSource(GeneratedPortal portal);
// The generated portal of this seed and size, `day` days on.
std::unique_ptr<PageSource> MakeGeneratedPageSource(std::uint64_t seed, int shopCount,
                                                    int productsPerShop, int day = 0);

}  // namespace portal
