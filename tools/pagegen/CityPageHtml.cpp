#include "PortalLayout.h"
#include "PortalPlan.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr std::string_view kClickScript =
    "<script type=\"text/javascript\">\n"
    "<!--\n"
    "function Click_Sub( cid ) {\n"
    "    document.comlist.Cid.value = cid;\n"
    "    document.comlist.submit();\n"
    "}\n"
    "// -->\n"
    "</script>\n";

std::string Stars(int rank) {
    std::string stars;
    for (int i = 0; i < rank; ++i) stars += "★";
    return stars;
}

}  // namespace

std::string CityPageHtml(int cityIndex, std::span<const CompanyPlan> companies) {
    const std::string city = CityNameUtf8(cityIndex);
    std::string html;
    AppendPageTop(html, "商会検索 | " + city, kClickScript);
    html += "<h2 class=\"title\">" + city + "の商会一覧</h2>\n";
    html += "<p class=\"lead\">登録商会数：" + FormatInt(static_cast<int>(companies.size())) +
            "　商会名をクリックすると商会ショップを表示します。</p>\n";
    html +=
        "<form name=\"comlist\" method=\"get\" action=\"./d\">\n"
        "<input type=\"hidden\" name=\"Act\" value=\"company_search_sub_display_dt\">\n"
        "<input type=\"hidden\" name=\"Cid\" value=\"\">\n"
        "</form>\n";
    if (companies.empty()) {
        html += "<p class=\"empty\">この都市を拠点とする商会はありません。</p>\n";
    } else {
        html +=
            "<table class=\"company_list\" cellspacing=\"0\" cellpadding=\"0\">\n"
            "<tr><th class=\"com_no\">No.</th><th class=\"com_name\">商会名</th>"
            "<th>商会長</th><th>商会員数</th><th>設立</th><th>ランク</th></tr>\n";
        int row = 0;
        for (const CompanyPlan& company : companies) {
            ++row;
            html += row % 2 ? "<tr class=\"odd\">" : "<tr class=\"even\">";
            html += "<td class=\"com_no\">" + FormatInt(row) + "</td>";
            html += "<td class=\"com_name\"><img src=\"./img/emblem/s_emblem_" +
                    FormatInt(company.emblem) + ".png\" width=\"16\" height=\"16\" alt=\"\">";
            html += "<a href=\"javascript:Click_Sub( " + FormatInt(company.id) + " );\">";
            html += company.name + "</a></td>";
            html += "<td>" + company.leader + "</td>";
            html += "<td class=\"num\">" + FormatInt(company.members) + "名</td>";
            html += "<td class=\"num\">" + FormatInt(company.founded) + "年</td>";
            html += "<td class=\"rank\">" + Stars(company.rank) + "</td></tr>\n";
        }
        html += "</table>\n";
    }
    html += "<p class=\"back\"><a href=\"./d?Act=company_search\">商会検索トップへ戻る</a></p>\n";
    AppendPageBottom(html);
    return html;
}
