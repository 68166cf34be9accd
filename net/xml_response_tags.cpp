#include "net/xml_response_tags.h"

#include <pugixml.hpp>

#include "app/catalogue.h"
#include "net/xml_fields.h"

namespace zentri {

bool XMLResponse_Tags::ParseBody(const pugi::xml_node& api) {
    pugi::xml_node tags = api.child("tags");
    if (!tags) return false;
    for (pugi::xml_node child : tags.children()) {
        Tag tag;
        if (!xml::ReadText(child, "name", tag.name) || !xml::ReadInt(child, "weight", tag.weight))
            return false;  // the tags appended so far stay
        tags_->push_back(std::move(tag));
    }
    return true;
}

}  // namespace zentri
