#include "config/ConfigFileReader.h"

#include <libxml/encoding.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "config/XmlCp932Encoding.h"
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
        EnsureXmlCp932Encoding();
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

Document ParseFile(const std::string& path, size_t& fileSize) {
    std::string contents;
    if (!platform::ReadWholeFile(path, contents) || contents.size() > INT_MAX) return nullptr;
    fileSize = contents.size();
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

// Attribute values with their internal entity references expanded, as a DOM
// reader gives them. The expansions of one file draw on one allowance, the file's
// own size: a few hundred bytes of declarations can expand to gigabytes, while a
// file the program wrote holds no entity at all. References past the allowance
// read as nothing.
class AttributeReader {
public:
    AttributeReader(const xmlDoc* doc, size_t allowance) : m_doc(doc), m_allowance(allowance) {}

    // Attribute names are matched exactly: a prefixed or namespaced attribute is
    // another attribute.
    bool ReadString(const xmlNode* element, const char* name, std::string& out) {
        out.clear();
        if (element == nullptr) return false;
        for (const xmlAttr* attribute = element->properties; attribute != nullptr;
             attribute = attribute->next) {
            if (attribute->ns != nullptr ||
                std::strcmp(reinterpret_cast<const char*>(attribute->name), name) != 0)
                continue;
            std::string utf8;
            AppendText(attribute->children, 0, utf8);
            // Expanded, a value may outgrow what the parser takes in one attribute;
            // cut there, or the file saved from it could not be read again.
            if (utf8.size() > XML_MAX_TEXT_LENGTH) utf8.resize(XML_MAX_TEXT_LENGTH);
            out = ToShiftJis(utf8);
            return true;
        }
        return false;
    }

    bool ReadInt(const xmlNode* element, const char* name, int& out) {
        std::string text;
        const bool found = ReadString(element, name, text);
        out = AtoiReading(text);
        return found;
    }

    // A flag is set when its number is not 0; the file holds 0 or 1.
    bool ReadFlag(const xmlNode* element, const char* name, bool& out) {
        int value = 0;
        const bool found = ReadInt(element, name, value);
        out = value != 0;
        return found;
    }

private:
    // Deeper nesting than the parser itself accepts; it only stops a reference cycle.
    static constexpr int kMaxEntityDepth = 40;

    void AppendText(const xmlNode* node, int depth, std::string& utf8) {
        for (; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE && node->content != nullptr) {
                const std::string_view text(reinterpret_cast<const char*>(node->content));
                if (depth > 0) {
                    if (text.size() > m_allowance) {
                        m_allowance = 0;
                        return;
                    }
                    m_allowance -= text.size();
                }
                utf8 += text;
            } else if (node->type == XML_ENTITY_REF_NODE && m_allowance > 0 &&
                       depth < kMaxEntityDepth) {
                const xmlEntity* entity = xmlGetDocEntity(m_doc, node->name);
                if (entity != nullptr) AppendText(entity->children, depth + 1, utf8);
            }
        }
    }

    const xmlDoc* m_doc;
    size_t m_allowance;
};

void ReadProxySection(AttributeReader& reader, const xmlNode* element, ConfigStore& config) {
    reader.ReadFlag(element, "enable", config.proxyEnabled);
    reader.ReadString(element, "server", config.proxyServer);
    reader.ReadInt(element, "port", config.proxyPort);
    reader.ReadString(element, "user", config.proxyUser);
    reader.ReadString(element, "pass", config.proxyPassword);
}

void ReadListSection(AttributeReader& reader, const xmlNode* element, ConfigStore& config) {
    reader.ReadInt(element, "height", config.rowHeight);
    reader.ReadInt(element, "back_color", config.listBackColor);
    reader.ReadInt(element, "text_color", config.listTextColor);
    reader.ReadInt(element, "sort_index", config.sortColumn);
    reader.ReadInt(element, "sort_order", config.sortOrder);
    // The sort state indexes the column tables; a damaged file must not take it
    // out of their range.
    if (config.sortColumn < 0 || config.sortColumn >= kColumnCount)
        config.sortColumn = kColumnCityName;
    if (config.sortOrder != 0 && config.sortOrder != 1) config.sortOrder = 0;
}

// Flags by position; children past the last city have no flag to go to.
void ReadCitySection(AttributeReader& reader, const xmlNode* element, ConfigStore& config) {
    if (element == nullptr) return;
    const xmlNode* child = SkipBlanks(element->children);
    for (int i = 0; i < kCityCount && child != nullptr; ++i, child = SkipBlanks(child->next))
        reader.ReadFlag(AsElement(child), "enable", config.cityEnabled[i]);
}

void ReadHistorySection(AttributeReader& reader, const xmlNode* element, ConfigStore& config) {
    config.searchHistory.clear();
    if (element == nullptr) return;
    for (const xmlNode* child = SkipBlanks(element->children); child != nullptr;
         child = SkipBlanks(child->next)) {
        std::string word;
        reader.ReadString(AsElement(child), "name", word);
        config.searchHistory.push_back(std::move(word));
    }
}

}  // namespace

bool ReadConfigFile(const std::string& path, ConfigStore& config) {
    size_t fileSize = 0;
    const Document doc = ParseFile(path, fileSize);
    if (doc == nullptr) return false;
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (root == nullptr) return false;

    AttributeReader reader(doc.get(), fileSize);
    reader.ReadString(root, "version", config.fileVersion);
    // Sections are known by position, whatever their names.
    const xmlNode* child = SkipBlanks(root->children);
    for (int position = 0; position < 6 && child != nullptr;
         ++position, child = SkipBlanks(child->next)) {
        const xmlNode* section = AsElement(child);
        switch (position) {
            case 0:
                reader.ReadString(section, "id", config.portalId);
                break;
            case 1:
                ReadProxySection(reader, section, config);
                break;
            case 2:
                reader.ReadString(section, "date", config.lastUpdate);
                break;
            case 3:
                ReadListSection(reader, section, config);
                break;
            case 4:
                ReadCitySection(reader, section, config);
                break;
            case 5:
                ReadHistorySection(reader, section, config);
                break;
        }
    }
    return true;
}
