#include "portal/PortalPages.h"

namespace portal {

const std::string& LoginPage() {
    static const std::string page =
        "<!DOCTYPE html>\n"
        "<html lang=\"ja\">\n"
        "<head><meta charset=\"UTF-8\"><title>ログイン</title></head>\n"
        "<body>\n"
        "<p>ログインしてください。</p>\n"
        "<form method=\"get\" action=\"/ovl/web/d\">\n"
        "ID <input type=\"text\" name=\"hvid\">\n"
        "パスワード <input type=\"password\" name=\"pass\">\n"
        "<input type=\"submit\" value=\"ログイン\">\n"
        "</form>\n"
        "</body>\n"
        "</html>\n";
    return page;
}

std::string StatusPage(int status) {
    const std::string code = std::to_string(status);
    return "<html><head><title>" + code + "</title></head><body><h1>" + code +
           "</h1></body></html>\n";
}

}  // namespace portal
