#pragma once
// The "getapps" answer: one application element per child, each appended to the target list
// whether or not it was complete. An answer without "getapps" is an empty list.

#include <vector>

#include "net/xml_response.h"
#include "ui/shared_object.h"

namespace zentri {

struct App;

class XMLResponse_GetApps : public XMLResponse {
  public:
    explicit XMLResponse_GetApps(std::vector<shared_ptr<App>>& apps) : apps_(&apps) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    std::vector<shared_ptr<App>>* apps_;
};

}  // namespace zentri
