#include "config/ConfigFileWriter.h"

#include <string_view>
#include <system_error>

#include "config/ConfigStore.h"
#include "platform/Files.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"

namespace {

// Byte-wise escaping is safe for Shift-JIS: no trail byte is below 0x40, so none of
// these characters can be the second half of a double-byte character. Tabs and
// line breaks are written as references because a reader turns them into spaces.
// Other control characters are left out: XML cannot carry them even as references,
// and one pasted into a search word would make the whole file unreadable.
void AppendEscaped(std::string& out, std::string_view value) {
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscaped(out, value);
    out += '"';
}

void AppendAttribute(std::string& out, std::string_view name, int value) {
    AppendAttribute(out, name, FormatInt(value));
}

// Starts `<name` on a new line indented by `depth` tabs.
void OpenElement(std::string& out, int depth, std::string_view name) {
    out += '\n';
    out.append(static_cast<size_t>(depth), '\t');
    out += '<';
    out += name;
}

void CloseElement(std::string& out, int depth, std::string_view name) {
    out += '\n';
    out.append(static_cast<size_t>(depth), '\t');
    out += "</";
    out += name;
    out += '>';
}

}  // namespace

std::string SerializeConfig(const ConfigStore& config) {
    std::string out = "<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune";
    AppendAttribute(out, "version", config.fileVersion);
    out += '>';

    OpenElement(out, 1, "harvala_info");
    AppendAttribute(out, "id", config.portalId);
    out += "/>";

    OpenElement(out, 1, "proxy_info");
    AppendAttribute(out, "enable", config.proxyEnabled ? 1 : 0);
    AppendAttribute(out, "server", config.proxyServer);
    AppendAttribute(out, "port", config.proxyPort);
    AppendAttribute(out, "user", config.proxyUser);
    AppendAttribute(out, "pass", config.proxyPassword);
    out += "/>";

    OpenElement(out, 1, "download_info");
    AppendAttribute(out, "date", config.lastUpdate);
    AppendAttribute(out, "size", static_cast<int>(config.companies.size()));
    out += "/>";

    OpenElement(out, 1, "list_info");
    AppendAttribute(out, "height", config.rowHeight);
    AppendAttribute(out, "back_color", config.listBackColor);
    AppendAttribute(out, "text_color", config.listTextColor);
    AppendAttribute(out, "sort_index", config.sortColumn);
    AppendAttribute(out, "sort_order", config.sortOrder);
    out += "/>";

    OpenElement(out, 1, "city_info");
    out += '>';
    for (int i = 0; i < kCityCount; ++i) {
        OpenElement(out, 2, "city");
        AppendAttribute(out, "name", CityTable()[i].name);
        AppendAttribute(out, "enable", config.cityEnabled[i] ? 1 : 0);
        out += "/>";
    }
    CloseElement(out, 1, "city_info");

    if (!config.searchHistory.empty()) {
        OpenElement(out, 1, "search_history");
        out += '>';
        for (const std::string& word : config.searchHistory) {
            OpenElement(out, 2, "search_word");
            AppendAttribute(out, "name", word);
            out += "/>";
        }
        CloseElement(out, 1, "search_history");
    }

    CloseElement(out, 0, "veradune");
    out += '\n';
    return out;
}

bool WriteConfigFile(const std::string& path, const ConfigStore& config,
                     std::string* failureReason) {
    int errorNumber = 0;
    // Owner-only: the file holds the proxy password in plain text.
    const bool written = platform::WriteFileAtomically(path, SerializeConfig(config),
                                                       platform::FileAccess::OwnerOnly,
                                                       platform::FileSync::Flush, &errorNumber);
    if (!written && failureReason != nullptr)
        *failureReason = std::generic_category().message(errorNumber);
    return written;
}
