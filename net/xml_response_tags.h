#pragma once
// The "tags" answer: tags with "name" and "weight", appended to the target list.

#include <vector>

#include "net/xml_response.h"

namespace zentri {

struct Tag;

class XMLResponse_Tags : public XMLResponse {
  public:
    explicit XMLResponse_Tags(std::vector<Tag>& tags) : tags_(&tags) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    std::vector<Tag>* tags_;
};

}  // namespace zentri
