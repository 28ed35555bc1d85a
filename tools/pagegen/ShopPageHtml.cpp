#include "PortalLayout.h"
#include "PortalPlan.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr std::string_view kShopStyle =
    "<style type=\"text/css\">\n"
    "<!--\n"
    ".shop_list { width:100%; border-collapse:collapse; }\n"
    ".shop_list th { background:#2b4a6f; color:#fff; padding:4px; }\n"
    ".chara_icon { width:44px; text-align:center; }\n"
    ".chara_item .item_name { float:left; clear:right; font-weight:bold; }\n"
    ".chara_item .item_spec { clear:both; font-size:90%; color:#555; }\n"
    ".chara_rlin { text-align:right; white-space:nowrap; padding:0 8px; }\n"
    "-->\n"
    "</style>\n";

// Starts a line at `depth` spaces in the indented layout; nothing in the compact one.
void Break(std::string& html, bool indented, int depth) {
    if (indented) html += '\n' + std::string(static_cast<size_t>(depth), ' ');
}

// The text of a cell opened at `depth`: inline, or on a line of its own.
void AppendCellText(std::string& html, std::string_view text, bool indented, int depth) {
    Break(html, indented, depth + 2);
    html += text;
    Break(html, indented, depth);
}

// A stock or price cell.
void AppendNumberCell(std::string& html, int value, bool indented) {
    Break(html, indented, 6);
    html += "<td class=\"chara_rlin\">";
    AppendCellText(html, FormatInt(value), indented, 6);
    html += "</td>";
}

void AppendRow(std::string& html, const ProductPlan& product, bool indented) {
    html += indented ? "    <tr>" : "<tr>";
    Break(html, indented, 6);
    html += "<td class=\"chara_icon\"><img src=\"./img/itemcg/" + product.image +
            ".png\" width=\"40\" height=\"40\" alt=\"\"></td>";
    Break(html, indented, 6);
    html += "<td class=\"chara_item\">";
    Break(html, indented, 8);
    html += "<div class=\"item_name\" style=\"float:left; clear:right;\">";
    AppendCellText(html, product.nameCell, indented, 8);
    html += "</div>";
    Break(html, indented, 8);
    html += "<div class=\"item_spec\">";
    for (size_t i = 0; i < product.specLines.size(); ++i) {
        if (i > 0) html += "<br>";
        html += product.specLines[i];
    }
    html += "</div>";
    Break(html, indented, 8);
    html += "<div class=\"item_text\">" + product.description + "</div>";
    Break(html, indented, 6);
    html += "</td>";
    AppendNumberCell(html, product.stock, indented);
    AppendNumberCell(html, product.price, indented);
    Break(html, indented, 6);
    html +=
        "<td class=\"chara_buy\"><a href=\"./d?Act=company_item_detail\">"
        "<img src=\"./img/common/btn_detail.png\" width=\"48\" height=\"20\" alt=\"詳細\"></a>"
        "</td>";
    Break(html, indented, 4);
    html += "</tr>\n";
}

}  // namespace

std::string ShopPageHtml(const CompanyPlan& company, std::span<const ProductPlan> products,
                         bool indented) {
    std::string html;
    AppendPageTop(html, "商会ショップ | " + company.name, kShopStyle);
    html += "<div id=\"company_head\">\n";
    html += "<img class=\"emblem\" src=\"./img/emblem/emblem_" + FormatInt(company.emblem) +
            ".png\" width=\"64\" height=\"64\" alt=\"\">\n";
    html += "<ul class=\"company_data\">\n";
    html += "<li>商会名：" + company.name + "</li>\n";
    html += "<li>拠点街：" + CityNameUtf8(company.cityIndex) + "</li>\n";
    html += "<li>商会長：" + company.leader + "</li>\n";
    html += "<li>商会員数：" + FormatInt(company.members) + "名</li>\n";
    html += "<li>設立：" + FormatInt(company.founded) + "年</li>\n";
    html += "</ul>\n</div>\n";
    html += "<h2 class=\"title\">商会ショップ</h2>\n";
    html += "<p class=\"lead\">販売価格は1個あたりの価格です。在庫数は毎時更新されます。</p>\n";
    if (products.empty()) {
        html += "<p class=\"empty\">現在販売中の商品はありません。</p>\n";
    } else {
        html += "<table class=\"shop_list\" cellspacing=\"0\" cellpadding=\"2\">\n";
        html += indented ? "    " : "";
        html +=
            "<tr><th colspan=\"2\">商品</th><th>在庫数</th><th>販売価格</th><th>&nbsp;</th>"
            "</tr>\n";
        for (const ProductPlan& product : products) AppendRow(html, product, indented);
        html += "</table>\n";
    }
    html += "<p class=\"back\"><a href=\"javascript:history.back();\">戻る</a></p>\n";
    AppendPageBottom(html);
    return html;
}
