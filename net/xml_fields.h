#pragma once
// Reading attributes of an answer into the program's fields. Each returns false and leaves
// the field alone when the attribute is missing; a present attribute is stored as it stands
// (numbers that are not numbers read as 0).

#include <cstdint>
#include <string>

namespace pugi {
class xml_node;
}

namespace zentri::xml {

bool ReadText(const pugi::xml_node& node, const char* name, std::u16string& field);
bool ReadInt(const pugi::xml_node& node, const char* name, int32_t& field);
bool ReadUInt(const pugi::xml_node& node, const char* name, uint32_t& field);
bool ReadDouble(const pugi::xml_node& node, const char* name, double& field);

}  // namespace zentri::xml
