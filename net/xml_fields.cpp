#include "net/xml_fields.h"

#include <pugixml.hpp>

#include <cmath>

#include "platform/text.h"

namespace zentri::xml {

bool ReadText(const pugi::xml_node& node, const char* name, std::u16string& field) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    field = platform::Utf8ToUtf16(a.value());
    return true;
}

bool ReadInt(const pugi::xml_node& node, const char* name, int32_t& field) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    field = platform::ParseInt(a.value());
    return true;
}

bool ReadUInt(const pugi::xml_node& node, const char* name, uint32_t& field) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    field = platform::ParseUInt(a.value());
    return true;
}

bool ReadDouble(const pugi::xml_node& node, const char* name, double& field) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    // "nan" and "inf" are not decimal numbers here: a rating must stay drawable.
    double value = platform::ParseDouble(a.value());
    field = std::isfinite(value) ? value : 0.0;
    return true;
}

}  // namespace zentri::xml
