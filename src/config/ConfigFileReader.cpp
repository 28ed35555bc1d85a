#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "config/ConfigStore.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

// The file is written as "Shift-JIS", but its text is CP932: plain Shift-JIS
// decoding would reject the NEC and IBM extensions such as "①" and "髙". Every
// name the converter knows for Shift-JIS is therefore read as CP932.
void PrepareParser() {
    [[maybe_unused]] static const bool prepared = [] {
        xmlInitParser();
        for (const char* alias : {"SHIFT-JIS", "SHIFT_JIS", "SJIS", "MS_KANJI", "CSSHIFTJIS"})
            xmlAddEncodingAlias("CP932", alias);
        return true;
    }();
}

// Never substitute entities or load a DTD: the file must not make the reader
// open another file or reach the network.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct DocumentDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

// Some conversion errors bypass the parser's own error switch and go to the
// thread's generic handler; it stays silent while a file is parsed.
void IgnoreError(void*, const char*, ...) {}

class SilentGenericErrors {
public:
    SilentGenericErrors() : m_handler(xmlGenericError), m_context(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, IgnoreError);
    }
    ~SilentGenericErrors() { xmlSetGenericErrorFunc(m_context, m_handler); }
    SilentGenericErrors(const SilentGenericErrors&) = delete;
    SilentGenericErrors& operator=(const SilentGenericErrors&) = delete;

private:
    xmlGenericErrorFunc m_handler;
    void* m_context;
};

Document ParseFile(const std::string& path) {
    std::string contents;
    if (!platform::ReadWholeFile(path, contents) || contents.size() > INT_MAX) return nullptr;
    PrepareParser();
    const SilentGenericErrors silent;
    return Document(xmlReadMemory(contents.data(), static_cast<int>(contents.size()), nullptr,
                                  nullptr, kParseOptions));
}

// Whitespace between elements is layout, not content: it takes no position.
bool IsBlankText(const xmlNode* node) {
    return node->type == XML_TEXT_NODE && xmlIsBlankNode(const_cast<xmlNode*>(node));
}

// The next child at or after `node` that takes a position, or null.
const xmlNode* SkipBlanks(const xmlNode* node) {
    while (node != nullptr && IsBlankText(node)) node = node->next;
    return node;
}

// A node that is not an element reads as an element without attributes.
const xmlNode* AsElement(const xmlNode* node) {
    return node != nullptr && node->type == XML_ELEMENT_NODE ? node : nullptr;
}

// Attribute names are matched exactly: a prefixed or namespaced attribute is
// another attribute.
bool ReadStringAttribute(const xmlNode* element, const char* name, std::string& out) {
    out.clear();
    if (element == nullptr) return false;
    for (const xmlAttr* attribute = element->properties; attribute != nullptr;
         attribute = attribute->next) {
        if (attribute->ns != nullptr ||
            std::strcmp(reinterpret_cast<const char*>(attribute->name), name) != 0)
            continue;
        xmlChar* text = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attribute));
        if (text != nullptr) {
            out = ToShiftJis(reinterpret_cast<const char*>(text));
            xmlFree(text);
        }
        return true;
    }
    return false;
}

bool ReadIntAttribute(const xmlNode* element, const char* name, int& out) {
    std::string text;
    const bool found = ReadStringAttribute(element, name, text);
    out = AtoiReading(text);
    return found;
}

void ReadProxySection(const xmlNode* element, ConfigStore& config) {
    ReadIntAttribute(element, "enable", config.proxyEnabled);
    ReadStringAttribute(element, "server", config.proxyServer);
    ReadIntAttribute(element, "port", config.proxyPort);
    ReadStringAttribute(element, "user", config.proxyUser);
    ReadStringAttribute(element, "pass", config.proxyPassword);
}

void ReadListSection(const xmlNode* element, ConfigStore& config) {
    ReadIntAttribute(element, "height", config.rowHeight);
    ReadIntAttribute(element, "back_color", config.listBackColor);
    ReadIntAttribute(element, "text_color", config.listTextColor);
    ReadIntAttribute(element, "sort_index", config.sortColumn);
    ReadIntAttribute(element, "sort_order", config.sortOrder);
    // The sort state indexes the column tables; a damaged file must not take it
    // out of their range.
    if (config.sortColumn < 0 || config.sortColumn >= kColumnCount)
        config.sortColumn = kColumnCityName;
    if (config.sortOrder != 0 && config.sortOrder != 1) config.sortOrder = 0;
}

// Flags by position; children past the last city have no flag to go to.
void ReadCitySection(const xmlNode* element, ConfigStore& config) {
    if (element == nullptr) return;
    const xmlNode* child = SkipBlanks(element->children);
    for (int i = 0; i < kCityCount && child != nullptr; ++i, child = SkipBlanks(child->next))
        ReadIntAttribute(AsElement(child), "enable", config.cityEnabled[i]);
}

void ReadHistorySection(const xmlNode* element, ConfigStore& config) {
    config.searchHistory.clear();
    if (element == nullptr) return;
    for (const xmlNode* child = SkipBlanks(element->children); child != nullptr;
         child = SkipBlanks(child->next)) {
        std::string word;
        ReadStringAttribute(AsElement(child), "name", word);
        config.searchHistory.push_back(std::move(word));
    }
}

}  // namespace

bool ConfigStore::Load(const std::string& path) {
    if (!platform::PathExists(path)) return false;
    const Document doc = ParseFile(path);
    if (doc == nullptr) return false;
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (root == nullptr) return false;

    ReadStringAttribute(root, "version", fileVersion);
    // Sections are known by position, whatever their names.
    const xmlNode* child = SkipBlanks(root->children);
    for (int position = 0; position < 6 && child != nullptr;
         ++position, child = SkipBlanks(child->next)) {
        const xmlNode* section = AsElement(child);
        switch (position) {
            case 0:
                ReadStringAttribute(section, "id", portalId);
                break;
            case 1:
                ReadProxySection(section, *this);
                break;
            case 2:
                ReadStringAttribute(section, "date", lastUpdate);
                break;
            case 3:
                ReadListSection(section, *this);
                break;
            case 4:
                ReadCitySection(section, *this);
                break;
            case 5:
                ReadHistorySection(section, *this);
                break;
        }
    }
    return true;
}
