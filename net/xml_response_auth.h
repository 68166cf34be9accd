#pragma once
// The "auth" answer: the session id in attribute "id" of element "auth".

#include <string>

#include "net/xml_response.h"

namespace zentri {

class XMLResponse_Auth : public XMLResponse {
  public:
    explicit XMLResponse_Auth(std::u16string& sessionId) : sessionId_(&sessionId) {}

  protected:
    bool ParseBody(const pugi::xml_node& api) override;

  private:
    std::u16string* sessionId_;
};

}  // namespace zentri
