#include "acquire/ShopPageParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "acquire/ImagePrefixTable.h"
#include "acquire/MarkerFinder.h"
#include "acquire/PlainFind.h"
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

// The labels of a product row, in the order they are read: penetration after
// attack, since guns give it instead and it takes the attack column.
enum RowLabel { kAttack, kDefense, kDurability, kPenetration, kSubCategory, kRowLabelCount };
using RowLabelPositions = std::array<size_t, kRowLabelCount>;

// The labels the scan looks for, in the encoding of the text it scans.
struct Labels {
    std::string company;
    std::string homeTown;
    std::array<std::string, kRowLabelCount> row;
};

template <class Encode>
Labels MakeLabels(Encode encode) {
    return {encode("商会名："),
            encode("拠点街："),
            {encode("攻撃力："), encode("防御力："), encode("耐久度："), encode("貫通力："),
             encode("分類：")}};
}

struct ShopTexts {
    std::string tradeGoods = ToShiftJis("交易品");
    std::string maleMark = ToShiftJis("♂");
    std::string femaleMark = ToShiftJis("♀");
    std::string headerError = ToShiftJis("エラー！商会情報の取得に失敗しました");
};

const ShopTexts& Texts() {
    static const ShopTexts texts;
    return texts;
}

// Text already in Shift-JIS: markers are found on character boundaries only, and
// what lies between them is taken as it is.
struct ShiftJisReading {
    static constexpr FindFunction kFind = ShiftJisFind;
    const Labels& labels() const {
        static const Labels labels = MakeLabels(ToShiftJis);
        return labels;
    }
    std::string_view Field(std::string_view text) { return text; }
    // Where each row label first occurs in the row; npos where it does not.
    RowLabelPositions FindRowLabels(std::string_view row) const {
        RowLabelPositions positions;
        for (int i = 0; i < kRowLabelCount; ++i)
            positions[i] = ShiftJisFind(row, labels().row[i], 0);
        return positions;
    }
};

// The page as saved (UTF-8), read without converting it whole: only the fields are.
// It reads as its conversion would. A UTF-8 needle matches only where a character
// starts, and conversion is local: what lies between two ASCII bytes converts the
// same alone. No label or marker holds "\" or "~", the only ASCII that other
// characters (the yen sign, the overline) convert to, nor the "?" that stands for
// what CP932 cannot hold. A position a byte or two past a marker may fall inside a
// character here where it falls on the next one in Shift-JIS, and no marker starts
// inside a character in either.
class Utf8Reading {
public:
    static constexpr FindFunction kFind = PlainFind;
    const Labels& labels() const {
        static const Labels labels = MakeLabels([](const char* text) { return std::string(text); });
        return labels;
    }
    // The field's Shift-JIS text; valid until the next call.
    std::string_view Field(std::string_view text) { return Utf8FieldAsShiftJis(text, m_field); }

    // Every row label ends with a full-width colon, which is rare in a row: one
    // pass over the colons finds them all, and a label that occurs first ends first.
    RowLabelPositions FindRowLabels(std::string_view row) const {
        static constexpr std::string_view kColon = "：";
        RowLabelPositions positions;
        positions.fill(npos);
        for (size_t colon = PlainFind(row, kColon, 0); colon != npos;
             colon = PlainFind(row, kColon, colon + 1)) {
            const std::string_view before = row.substr(0, colon + kColon.size());
            for (int i = 0; i < kRowLabelCount; ++i)
                if (positions[i] == npos && before.ends_with(labels().row[i]))
                    positions[i] = before.size() - labels().row[i].size();
        }
        return positions;
    }

private:
    std::string m_field;
};

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
template <class Reading>
std::optional<std::string_view> LabelledText(std::string_view text, std::string_view label,
                                             size_t from, size_t* end = nullptr) {
    const size_t k = Reading::kFind(text, label, from);
    if (k == npos) return std::nullopt;
    const size_t l = Reading::kFind(text, kTagOpen, k + 1);
    if (l == npos) return std::nullopt;
    if (end) *end = l;
    return Between(text, k + label.size(), l);
}

template <class Reading>
void ReadAttributes(std::string_view rowText, ProductRecord& record, Reading& reading) {
    const RowLabelPositions positions = reading.FindRowLabels(rowText);
    // The text after a label up to the next "<".
    const auto labelled = [&](RowLabel label) -> std::optional<std::string_view> {
        if (positions[label] == npos) return std::nullopt;
        const size_t end = Reading::kFind(rowText, kTagOpen, positions[label] + 1);
        if (end == npos) return std::nullopt;
        return Between(rowText, positions[label] + reading.labels().row[label].size(), end);
    };
    // No character other than an ASCII one converts to a digit, a sign or a space,
    // so a figure reads the same before conversion.
    const auto readFigure = [&](RowLabel label, int& field) {
        if (const auto figure = labelled(label)) field = AtoiReading(*figure);
    };
    readFigure(kAttack, record.attack);
    readFigure(kDefense, record.defense);
    readFigure(kDurability, record.durability);
    readFigure(kPenetration, record.attack);

    if (record.category != Texts().tradeGoods) return;
    if (const auto subCategory = labelled(kSubCategory))
        record.category.assign(reading.Field(*subCategory));
}

template <class Reading>
void ScanRows(std::string_view text, size_t g, const std::string& companyName,
              const std::string& cityName, std::vector<ProductRecord>& products, Reading& reading) {
    MarkerFinder images(text, kImageMarker, Reading::kFind);
    MarkerFinder imageEnds(text, kImageEnd, Reading::kFind);
    MarkerFinder nameCells(text, kNameCell, Reading::kFind);
    MarkerFinder valueCells(text, kValueCell, Reading::kFind);
    MarkerFinder tagOpens(text, kTagOpen, Reading::kFind);
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
                j == npos
                    ? nullptr
                    : CategoryForImage(reading.Field(Between(text, i + kImageMarker.size(), j)));
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
        record.productName = ProductNameFrom(reading.Field(Between(text, n + kNameCell.size(), e)));
        if (imageCategory) record.category = *imageCategory;
        record.stock = AtoiReading(Between(text, s + kValueCell.size(), se));
        record.price = AtoiReading(Between(text, p + kValueCell.size(), pe));
        ReadAttributes(Between(text, n, s), record, reading);
        record.companyName = companyName;
        record.cityName = cityName;
        g = pe + 1;
    }
}

template <class Reading>
bool ParseShop(std::string_view text, std::vector<ProductRecord>& products,
               const DetailReport& report, Reading& reading) {
    if (text.empty()) return false;
    const Labels& labels = reading.labels();
    size_t companyEnd = npos;
    size_t homeTownEnd = npos;
    const auto company = LabelledText<Reading>(text, labels.company, 0, &companyEnd);
    const auto homeTown =
        company ? LabelledText<Reading>(text, labels.homeTown, companyEnd + 2, &homeTownEnd)
                : std::nullopt;
    if (!homeTown) {
        Report(report, Texts().headerError);
        return false;
    }
    const std::string companyName(TrimAsciiSpace(reading.Field(*company)));
    const std::string cityName(TrimAsciiSpace(reading.Field(*homeTown)));
    Report(report, cityName + " : " + companyName);
    // About one row per 600 bytes of page.
    if (products.empty()) products.reserve(text.size() / 600);
    ScanRows(text, homeTownEnd + 1, companyName, cityName, products, reading);
    return true;
}

}  // namespace

void ParseItemAttributes(std::string_view rowText, ProductRecord& record) {
    ShiftJisReading reading;
    ReadAttributes(rowText, record, reading);
}

bool ParseShopText(std::string_view sjisText, std::vector<ProductRecord>& products,
                   const DetailReport& report) {
    ShiftJisReading reading;
    return ParseShop(sjisText, products, report, reading);
}

bool ParseShopPage(const std::string& pagePath, std::string& buffer,
                   std::vector<ProductRecord>& products, const DetailReport& report) {
    if (!platform::ReadWholeFile(pagePath, buffer)) {
        Report(report, Texts().headerError);
        return false;
    }
    // The conversion would end the text at its first NUL.
    const std::string_view text(buffer.data(),
                                std::min(buffer.size(), std::strlen(buffer.c_str())));
    Utf8Reading reading;
    return ParseShop(text, products, report, reading);
}
