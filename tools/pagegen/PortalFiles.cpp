#include "PageGenerator.h"
#include "acquire/PagePaths.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

bool WritePortal(const GeneratedPortal& portal, const std::string& downloadFolder) {
    if (!platform::IsDirectory(downloadFolder) && !platform::CreateDirectory(downloadFolder))
        return false;
    const auto& cities = CityTable();
    for (int c = 0; c < kCityCount; ++c) {
        const std::string path = platform::JoinPath(downloadFolder, CityPageFileName(cities[c].id));
        if (!platform::WriteFileAtomically(path, portal.cityPagesUtf8[static_cast<size_t>(c)],
                                           platform::FileAccess::Everyone,
                                           platform::FileSync::NoFlush))
            return false;
    }
    for (const GeneratedShop& shop : portal.shops) {
        const std::string path =
            platform::JoinPath(downloadFolder, ShopPageFileName(shop.companyId));
        if (!platform::WriteFileAtomically(path, shop.pageUtf8, platform::FileAccess::Everyone,
                                           platform::FileSync::NoFlush))
            return false;
    }
    return true;
}

std::string TruthTable(const GeneratedPortal& portal) {
    std::string table =
        "productName\tcategory\tstock\tprice\tdurability\tattack\tdefense\tcompanyName\t"
        "cityName\n";
    for (const GeneratedShop& shop : portal.shops) {
        for (const ProductRecord& r : shop.truth) {
            table += ShiftJisToUtf8(r.productName) + '\t' + ShiftJisToUtf8(r.category) + '\t' +
                     FormatInt(r.stock) + '\t' + FormatInt(r.price) + '\t' +
                     FormatInt(r.durability) + '\t' + FormatInt(r.attack) + '\t' +
                     FormatInt(r.defense) + '\t' + ShiftJisToUtf8(r.companyName) + '\t' +
                     ShiftJisToUtf8(r.cityName) + '\n';
        }
    }
    return table;
}

std::string ChangesTable(const GeneratedPortal& portal) {
    std::string table = "productName\tcompanyName\tcityName\tchange\toldPrice\tnewPrice\n";
    for (const GeneratedChange& c : portal.changes) {
        table += ShiftJisToUtf8(c.productName) + '\t' + ShiftJisToUtf8(c.companyName) + '\t' +
                 ShiftJisToUtf8(c.cityName) + '\t' + ChangeKindName(c.kind) + '\t' +
                 (c.kind == ChangeKind::New ? "" : FormatInt(c.oldPrice)) + '\t' +
                 (c.kind == ChangeKind::Gone ? "" : FormatInt(c.newPrice)) + '\n';
    }
    return table;
}
