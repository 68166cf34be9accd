#include "net/xml_response_getapps.h"

#include <pugixml.hpp>

#include "manager/app.h"
#include "net/app_element.h"

namespace zentri {

bool XMLResponse_GetApps::ParseBody(const pugi::xml_node& api) {
    for (pugi::xml_node child : api.child("getapps").children()) {
        shared_ptr<App> app = MakeShared<App>();
        ReadAppElement(child, *app);  // listed even when incomplete
        apps_->push_back(app);
    }
    return true;
}

}  // namespace zentri
