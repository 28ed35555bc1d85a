#include "PortalLayout.h"

#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

std::string CityNameUtf8(int cityIndex) {
    return ShiftJisToUtf8(CityTable()[cityIndex].name);
}

void AppendPageTop(std::string& html, std::string_view title, std::string_view extraHead) {
    html +=
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">\n"
        "<html lang=\"ja\">\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
        "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\n"
        "<meta http-equiv=\"Content-Script-Type\" content=\"text/javascript\">\n"
        "<title>";
    html += title;
    html +=
        " | 航海者ポータル</title>\n"
        "<link rel=\"stylesheet\" href=\"./css/common.css\" type=\"text/css\">\n"
        "<link rel=\"stylesheet\" href=\"./css/company.css\" type=\"text/css\">\n"
        "<script type=\"text/javascript\" src=\"./js/common.js\"></script>\n";
    html += extraHead;
    html +=
        "</head>\n<body>\n<div id=\"wrapper\">\n"
        "<div id=\"header\">\n"
        "<h1><a href=\"./d?Act=top\"><img src=\"./img/common/logo.png\" width=\"240\" "
        "height=\"56\" alt=\"航海者ポータル\"></a></h1>\n"
        "<ul id=\"global_menu\">\n"
        "<li><a href=\"./d?Act=top\">トップ</a></li>\n"
        "<li><a href=\"./d?Act=news\">ニュース</a></li>\n"
        "<li><a href=\"./d?Act=company_search\">商会検索</a></li>\n"
        "<li><a href=\"./d?Act=market\">相場情報</a></li>\n"
        "<li><a href=\"./d?Act=ranking\">ランキング</a></li>\n"
        "<li><a href=\"./d?Act=mypage\">マイページ</a></li>\n"
        "<li class=\"logout\"><a href=\"./d?Act=logout\">ログアウト</a></li>\n"
        "</ul>\n</div>\n"
        "<div id=\"side\">\n<h3>都市から探す</h3>\n<ul class=\"city_menu\">\n";
    const auto& cities = CityTable();
    for (int i = 0; i < kCityCount; ++i) {
        html += "<li><a href=\"./d?Act=company_search_sub_comlist&amp;Tid=";
        html += FormatInt(cities[i].id);
        html += "\">";
        html += CityNameUtf8(i);
        html += "</a></li>\n";
    }
    html +=
        "</ul>\n"
        "<div class=\"banner\"><a href=\"./d?Act=event\"><img src=\"./img/banner/event.png\" "
        "width=\"180\" height=\"60\" alt=\"開催中のイベント\"></a></div>\n"
        "</div>\n<div id=\"contents\">\n";
}

void AppendPageBottom(std::string& html) {
    html +=
        "</div>\n"
        "<div id=\"footer\">\n<ul>\n"
        "<li><a href=\"./d?Act=terms\">利用規約</a></li>\n"
        "<li><a href=\"./d?Act=privacy\">個人情報の取り扱い</a></li>\n"
        "<li><a href=\"./d?Act=support\">お問い合わせ</a></li>\n"
        "</ul>\n"
        "<p class=\"copyright\">Copyright &copy; Mare Portal Online. All Rights Reserved.</p>\n"
        "</div>\n</div>\n</body>\n</html>\n";
}
