#pragma once
// The "cats" answer: the category tree as nested elements, each with "name", "id" and
// "count". New categories are appended to the target's existing children.

#include "net/xml_response.h"

namespace zentri {

struct Category;

class XMLResponse_Cats : public XMLResponse {
  public:
    // Deeper trees are refused (999), so hostile answers cannot make the reading recurse
    // without bound.
    static constexpr int kMaxDepth = 64;

    explicit XMLResponse_Cats(Category& root) : root_(&root) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    Category* root_;
};

}  // namespace zentri
