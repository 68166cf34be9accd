#pragma once
// Answers of the service: an XML document under "kestro-api" whose child "result" carries the
// result code in "code", the other children the data of the request. A parser turns the body
// of a finished request into that code and, on success, fills the records its subclass was
// given. Runs in completion handlers, under appLock.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pugi {
class xml_node;
}

namespace zentri {

// Result codes; any other value is a refusal whose message is the localized string with that
// id.
enum ResultCode : int32_t {
    kResultOk = 0,
    kResultNotActivated = 202,  // the account is not yet activated
    kResultSessionInvalid = 203,
    kResultUnreadable = 999,  // also used by callers for a failed transfer
};

class XMLResponse {
  public:
    virtual ~XMLResponse();

    // The body's result code: 999 when it cannot be read, the server's code otherwise. Code 203
    // first sends the user back to the sign-in scene. Only code 0 reads the data part, whose
    // failure gives 999; what was filled before a failure stays.
    int32_t Parse(const void* body, size_t count);
    int32_t Parse(std::string_view body) { return Parse(body.data(), body.size()); }

  protected:
    // Reads the data part from the "kestro-api" element; the plain answer has none.
    virtual bool ParseBody(const pugi::xml_node& api);
};

// Answers that carry only the result code.
class XMLResponse_Config : public XMLResponse {};
class XMLResponse_Rate : public XMLResponse {};
class XMLResponse_Reg : public XMLResponse {};
class XMLResponse_AuthRestore : public XMLResponse {};

}  // namespace zentri
