#pragma once
// The "reviews" answer: reviews with "login", "txt" and "rate", appended to the target list.
// An answer without "reviews" is an empty list.

#include <cstdint>
#include <string>
#include <vector>

#include "net/xml_response.h"

namespace zentri {

struct Review {
    std::u16string login;
    std::u16string txt;
    int32_t rate = 0;
};

class XMLResponse_Reviews : public XMLResponse {
  public:
    explicit XMLResponse_Reviews(std::vector<Review>& reviews) : reviews_(&reviews) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    std::vector<Review>* reviews_;
};

}  // namespace zentri
