#include "net/xml_response_auth.h"

#include <pugixml.hpp>

#include "net/xml_fields.h"

namespace zentri {

bool XMLResponse_Auth::ParseBody(const pugi::xml_node& api) {
    return xml::ReadText(api.child("auth"), "id", *sessionId_);
}

}  // namespace zentri
