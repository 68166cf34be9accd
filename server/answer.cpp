#include "server/answer.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace zentri::server {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at `at`, or 0.
size_t SequenceLength(std::string_view text, size_t at) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    size_t length = lead < 0x80         ? 1
                    : (lead >> 5) == 6  ? 2
                    : (lead >> 4) == 14 ? 3
                    : (lead >> 3) == 30 ? 4
                                        : 0;
    if (length == 0 || at + length > text.size()) return 0;
    uint32_t cp = length == 1   ? lead
                  : length == 2 ? lead & 0x1F
                  : length == 3 ? lead & 0x0F
                                : lead & 0x07;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    if (cp == 0xFFFE || cp == 0xFFFF) return 0;
    if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') return 0;
    return length;
}

}  // namespace

std::string CleanXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t length = SequenceLength(text, at);
        if (length == 0) {
            out += kReplacement;
            ++at;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

Answer::Answer(int code) : code_(code) {
    auto declaration = doc_.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    root_ = doc_.append_child("kestro-api");
    root_.append_child("result").append_attribute("code") = code;
}

pugi::xml_node Answer::Add(const char* name) {
    return root_.append_child(name);
}

std::string Answer::Xml() const {
    std::ostringstream out;
    doc_.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

void SetText(pugi::xml_node node, const char* name, std::string_view value) {
    node.append_attribute(name) = CleanXmlText(value).c_str();
}

void SetInt(pugi::xml_node node, const char* name, int64_t value) {
    node.append_attribute(name) = static_cast<long long>(value);
}

void SetRate(pugi::xml_node node, const char* name, double value) {
    if (!std::isfinite(value)) value = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    node.append_attribute(name) = s.c_str();
}

}  // namespace zentri::server
