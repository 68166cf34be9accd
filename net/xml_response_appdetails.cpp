#include "net/xml_response_appdetails.h"

#include <pugixml.hpp>

#include "net/app_element.h"
#include "net/xml_fields.h"

namespace zentri {
namespace {

// One attribute of each child, in order; a child without it ends the list.
void ReadList(const pugi::xml_node& list, const char* attribute, std::vector<std::u16string>& out) {
    for (pugi::xml_node child : list.children()) {
        std::u16string value;
        if (!xml::ReadText(child, attribute, value)) return;
        out.push_back(std::move(value));
    }
}

}  // namespace

bool XMLResponse_AppDetails::ParseBody(const pugi::xml_node& api) {
    pugi::xml_node app = api.child("appdetails").child("app");
    if (!app || !ReadAppElement(app, *app_)) return false;
    if (!description_) return true;

    // The two lists describe this answer alone.
    description_->tags.clear();
    description_->pictures.clear();
    pugi::xml_node details = app.child("details");
    bool hasDesc = xml::ReadText(details, "desc", description_->desc);
    ReadList(details.child("tags"), "name", description_->tags);
    ReadList(details.child("pictures"), "url", description_->pictures);
    return hasDesc;
}

}  // namespace zentri
