#include "config/XmlCp932Encoding.h"

#include <libxml/encoding.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "shopdata/TextConversion.h"

namespace {

// libxml2's input converter: as many whole characters as fit, -2 on a byte sequence that is
// no character, as the system's converter would answer.
int DecodeCp932(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    // A character never takes more than three bytes of UTF-8 or two of CP932, so reading no
    // more than a third of the room leaves room for all of it.
    const int take = std::min(*inLength, *outLength / 3);
    std::string utf8;
    const std::ptrdiff_t used =
        AppendCp932PrefixAsUtf8(std::string_view(reinterpret_cast<const char*>(in), take), utf8);
    if (used < 0) {
        *outLength = 0;
        *inLength = 0;
        return -2;
    }
    std::copy(utf8.begin(), utf8.end(), out);
    *outLength = static_cast<int>(utf8.size());
    *inLength = static_cast<int>(used);
    return *outLength;
}

}  // namespace

void EnsureXmlCp932Encoding() {
    if (xmlCharEncodingHandler* system = xmlFindCharEncodingHandler("CP932")) {
        xmlCharEncCloseFunc(system);
        return;
    }
    // Made and registered at once; libxml2 keeps it for the process's life.
    xmlNewCharEncodingHandler("CP932", DecodeCp932, nullptr);
}
