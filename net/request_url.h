#pragma once
// The address of one call of the service: the base address (localized string 99999, ending
// in "/"), the request's name, ".php?" and the parameters in the order they are added.

#include <cstdint>
#include <string>
#include <string_view>

namespace zentri {

class RequestUrl {
  public:
    explicit RequestUrl(std::u16string_view name);

    // A text value, sent as it is or, with `encode`, with "+" written as "%2B" and "/" as
    // "%2F" (nothing else changes).
    RequestUrl& Add(std::u16string_view key, std::u16string_view value, bool encode = false);
    RequestUrl& AddInt(std::u16string_view key, int32_t value);
    RequestUrl& AddFlag(std::u16string_view key, bool value);  // "1" or "0"
    RequestUrl& AddLiteral(std::u16string_view key, std::u16string_view fixed);

    // The final address: spaces become %20; no other character is changed, so "&", "=", "?"
    // and "#" inside values reach the server as they are.
    std::u16string Finish() const;

  private:
    void Append(std::u16string_view key, std::u16string_view written);

    std::u16string text_;
    bool first_ = true;
};

// The text-encoded form of a value (applied to its UTF-8 form).
std::u16string EncodeText(std::u16string_view value);

}  // namespace zentri
