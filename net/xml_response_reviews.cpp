#include "net/xml_response_reviews.h"

#include <pugixml.hpp>

#include "net/xml_fields.h"

namespace zentri {

bool XMLResponse_Reviews::ParseBody(const pugi::xml_node& api) {
    for (pugi::xml_node child : api.child("reviews").children()) {
        Review review;
        if (!xml::ReadText(child, "login", review.login) ||
            !xml::ReadText(child, "txt", review.txt) || !xml::ReadInt(child, "rate", review.rate))
            return false;  // the reviews appended so far stay
        reviews_->push_back(std::move(review));
    }
    return true;
}

}  // namespace zentri
