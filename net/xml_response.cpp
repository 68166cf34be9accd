#include "net/xml_response.h"

#include <pugixml.hpp>

#include <algorithm>
#include <string>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "platform/text.h"

namespace zentri {
namespace {

// Comments and processing instructions stay in the tree: they are children like any other
// node, and an element rule that meets one fails as it would on any node without attributes.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

// The body as text: invalid UTF-8 becomes U+FFFD, the text ends at a 0 character, and whatever
// follows the last ">" is dropped (a text without ">" becomes empty). Returned in UTF-8 again
// for the XML parser.
std::string AnswerText(const void* body, size_t count) {
    const std::string_view raw(static_cast<const char*>(body), count);
    if (platform::IsWellFormedUtf8(raw)) {
        // The usual answer: the round trip through UTF-16 would give the same bytes.
        const size_t last = raw.rfind('>');
        return std::string(last == std::string_view::npos ? std::string_view()
                                                          : raw.substr(0, last + 1));
    }
    std::u16string text = platform::Utf8ToUtf16(raw);
    text.resize(std::min(text.size(), text.find(u'\0')));
    size_t last = text.rfind(u'>');
    text.resize(last == std::u16string::npos ? 0 : last + 1);
    return platform::Utf16ToUtf8(text);
}

// The XML parser is lenient where a conforming one refuses the document: it takes several
// top-level elements and drops text before the root. Such answers (an error page around a
// document, warnings printed before it) are unreadable.
bool SingleRoot(const pugi::xml_document& document, std::string_view text) {
    int elements = 0;
    for (pugi::xml_node node : document.children())
        elements += node.type() == pugi::node_element;
    if (elements != 1) return false;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // byte-order mark
    size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

}  // namespace

XMLResponse::~XMLResponse() = default;

bool XMLResponse::ParseBody(const pugi::xml_node&) {
    return true;
}

int32_t XMLResponse::Parse(const void* body, size_t count) {
    if (!body) count = 0;
    std::string text = AnswerText(body, count);
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8) ||
        !SingleRoot(document, text))
        return kResultUnreadable;

    pugi::xml_node api = document.child("kestro-api");
    pugi::xml_attribute code = api.child("result").attribute("code");
    if (!code) return kResultUnreadable;
    int32_t result = platform::ParseInt(code.value());  // not a number: 0
    if (result != kResultOk) {
        if (result == kResultSessionInvalid) {
            if (KestroApp* app = Kestro::Instance().app) app->PopToLogin();
        }
        return result;
    }
    return ParseBody(api) ? kResultOk : kResultUnreadable;
}

}  // namespace zentri
