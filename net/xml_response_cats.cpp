#include "net/xml_response_cats.h"

#include <pugixml.hpp>

#include "app/catalogue.h"
#include "net/xml_fields.h"

namespace zentri {
namespace {

// Appends a category for every child of `element` to `parent`, then reads that category's own
// children. The first failure ends the whole reading; what was appended stays.
bool ReadChildren(const pugi::xml_node& element, Category& parent, int depth) {
    for (pugi::xml_node child : element.children()) {
        if (depth > XMLResponse_Cats::kMaxDepth) return false;
        shared_ptr<Category> category = MakeShared<Category>();
        category->parent = &parent;
        parent.children.push_back(category);
        if (!xml::ReadText(child, "name", category->name) ||
            !xml::ReadInt(child, "id", category->id) ||
            !xml::ReadInt(child, "count", category->count) ||
            !ReadChildren(child, *category, depth + 1))
            return false;
    }
    return true;
}

}  // namespace

bool XMLResponse_Cats::ParseBody(const pugi::xml_node& api) {
    pugi::xml_node cats = api.child("cats");
    if (!cats) return false;
    return ReadChildren(cats, *root_, 1);
}

}  // namespace zentri
