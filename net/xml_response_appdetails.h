#pragma once
// The "appdetails" answer: the application element "app", and optionally the description
// part under "app" (element "details" with "desc", its "tags" and "pictures").

#include <string>
#include <vector>

#include "net/xml_response.h"

namespace zentri {

struct App;

struct AppDescription {
    std::u16string desc;
    std::vector<std::u16string> pictures;  // picture addresses in answer order
    std::vector<std::u16string> tags;      // tag names in answer order
};

class XMLResponse_AppDetails : public XMLResponse {
  public:
    // Without a description target only the application element is read.
    explicit XMLResponse_AppDetails(App& app, AppDescription* description = nullptr)
        : app_(&app), description_(description) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    App* app_;
    AppDescription* description_;
};

}  // namespace zentri
