#include "acquire/ShopPageParser.h"

#include <algorithm>
#include <optional>

#include "acquire/ImagePrefixTable.h"
#include "acquire/MarkerFinder.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

constexpr size_t npos = std::string_view::npos;

constexpr std::string_view kImageMarker = "<img src=\"./img/itemcg/";
constexpr std::string_view kImageEnd = ".png\" ";
constexpr std::string_view kNameCell = "clear:right;\">";
// The stock and the price cell carry the same class.
constexpr std::string_view kValueCell = "<td class=\"chara_rlin\">";

struct ShopTexts {
    std::string companyLabel = ToShiftJis("商会名：");
    std::string homeTownLabel = ToShiftJis("拠点街：");
    std::string attackLabel = ToShiftJis("攻撃力：");
    std::string defenseLabel = ToShiftJis("防御力：");
    std::string durabilityLabel = ToShiftJis("耐久度：");
    std::string penetrationLabel = ToShiftJis("貫通力：");
    std::string subCategoryLabel = ToShiftJis("分類：");
    std::string tradeGoods = ToShiftJis("交易品");
    std::string maleMark = ToShiftJis("♂");
    std::string femaleMark = ToShiftJis("♀");
    std::string headerError = ToShiftJis("エラー！商会情報の取得に失敗しました");
};

const ShopTexts& Texts() {
    static const ShopTexts texts;
    return texts;
}

void Report(const DetailReport& report, const std::string& text) {
    if (report) report(text);
}

// The name cell's text without the gender marks some item names carry, trimmed
// after the marks are gone.
std::string ProductNameFrom(std::string_view cell) {
    const ShopTexts& texts = Texts();
    size_t male = ShiftJisFind(cell, texts.maleMark, 0);
    size_t female = ShiftJisFind(cell, texts.femaleMark, 0);
    if (male == npos && female == npos) return std::string(TrimAsciiSpace(cell));

    std::string name;
    name.reserve(cell.size());
    size_t from = 0;
    while (male != npos || female != npos) {
        const size_t mark = std::min(male, female);
        name.append(cell, from, mark - from);
        if (mark == male) {
            from = mark + texts.maleMark.size();
            male = ShiftJisFind(cell, texts.maleMark, from);
        } else {
            from = mark + texts.femaleMark.size();
            female = ShiftJisFind(cell, texts.femaleMark, from);
        }
    }
    name.append(cell, from);
    const std::string_view trimmed = TrimAsciiSpace(name);
    const size_t leading = static_cast<size_t>(trimmed.data() - name.data());
    name.resize(leading + trimmed.size());
    name.erase(0, leading);
    return name;
}

// The text after the first `label` at or after `from`, up to the next "<", whose
// position goes to `end`; nullopt when the label or the "<" is missing.
std::optional<std::string_view> LabelledText(std::string_view text, std::string_view label,
                                             size_t from, size_t* end = nullptr) {
    const size_t k = ShiftJisFind(text, label, from);
    if (k == npos) return std::nullopt;
    const size_t l = ShiftJisFind(text, kTagOpen, k + 1);
    if (l == npos) return std::nullopt;
    if (end) *end = l;
    return Between(text, k + label.size(), l);
}

void ReadFigure(std::string_view rowText, const std::string& label, int& field) {
    if (const auto figure = LabelledText(rowText, label, 0)) field = AtoiReading(*figure);
}

void ScanRows(std::string_view text, size_t g, const std::string& companyName,
              const std::string& cityName, std::vector<ProductRecord>& products) {
    MarkerFinder images(text, kImageMarker);
    MarkerFinder imageEnds(text, kImageEnd);
    MarkerFinder nameCells(text, kNameCell);
    MarkerFinder valueCells(text, kValueCell);
    MarkerFinder tagOpens(text, kTagOpen);
    // The image search is not bounded by the row, so rows without an image share
    // the next image on the page; its category is looked up once.
    size_t image = npos;
    const std::string* imageCategory = nullptr;
    for (;;) {
        const size_t i = images.Find(g + 1);
        if (i != image) {
            image = i;
            const size_t j = i == npos ? npos : imageEnds.Find(i + 1);
            // No prefix occurs in the marker itself, so only the image name is searched.
            imageCategory =
                j == npos ? nullptr : CategoryForImage(Between(text, i + kImageMarker.size(), j));
        }

        const size_t n = nameCells.Find(g + 1);
        if (n == npos) return;
        const size_t e = tagOpens.Find(n + 1);
        if (e == npos) {
            g = n;
            continue;
        }
        // The stock search starts two bytes past the name's "<", so a name closed
        // directly by the stock cell loses that cell.
        const size_t s = valueCells.Find(e + 2);
        if (s == npos) return;
        const size_t se = tagOpens.Find(s + 1);
        if (se == npos) {
            g = s;
            continue;
        }
        const size_t p = valueCells.Find(se + 2);
        if (p == npos) return;
        const size_t pe = tagOpens.Find(p + 1);
        if (pe == npos) {
            g = p;
            continue;
        }

        ProductRecord& record = products.emplace_back();
        record.productName = ProductNameFrom(Between(text, n + kNameCell.size(), e));
        if (imageCategory) record.category = *imageCategory;
        record.stock = AtoiReading(Between(text, s + kValueCell.size(), se));
        record.price = AtoiReading(Between(text, p + kValueCell.size(), pe));
        ParseItemAttributes(Between(text, n, s), record);
        record.companyName = companyName;
        record.cityName = cityName;
        g = pe + 1;
    }
}

}  // namespace

void ParseItemAttributes(std::string_view rowText, ProductRecord& record) {
    const ShopTexts& texts = Texts();
    ReadFigure(rowText, texts.attackLabel, record.attack);
    ReadFigure(rowText, texts.defenseLabel, record.defense);
    ReadFigure(rowText, texts.durabilityLabel, record.durability);
    // Guns give penetration instead of attack; it takes the attack column.
    ReadFigure(rowText, texts.penetrationLabel, record.attack);

    if (record.category != texts.tradeGoods) return;
    if (const auto subCategory = LabelledText(rowText, texts.subCategoryLabel, 0))
        record.category.assign(*subCategory);
}

bool ParseShopText(std::string_view sjisText, std::vector<ProductRecord>& products,
                   const DetailReport& report) {
    if (sjisText.empty()) return false;
    const ShopTexts& texts = Texts();
    size_t companyEnd = npos;
    size_t homeTownEnd = npos;
    const auto company = LabelledText(sjisText, texts.companyLabel, 0, &companyEnd);
    const auto homeTown =
        company ? LabelledText(sjisText, texts.homeTownLabel, companyEnd + 2, &homeTownEnd)
                : std::nullopt;
    if (!homeTown) {
        Report(report, texts.headerError);
        return false;
    }
    const std::string companyName(TrimAsciiSpace(*company));
    const std::string cityName(TrimAsciiSpace(*homeTown));
    Report(report, cityName + " : " + companyName);
    ScanRows(sjisText, homeTownEnd + 1, companyName, cityName, products);
    return true;
}

bool ParseShopPage(const std::string& pagePath, std::vector<ProductRecord>& products,
                   const DetailReport& report) {
    // The UTF-8 page is kept until the parse is done: freed earlier, its block
    // fills up with the records and the next page needs fresh memory (about 3 %
    // more at the peak of a large parse pass).
    std::string raw;
    if (!platform::ReadWholeFile(pagePath, raw)) {
        Report(report, Texts().headerError);
        return false;
    }
    std::string text;
    Utf8ToShiftJis(raw, text);
    return ParseShopText(text, products, report);
}
