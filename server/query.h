#pragma once
// The query part of a request address, read exactly as the client writes it: parameters split
// at "&", key and value at the first "=", and values left as they are except for the three
// escapes the client produces ("%2B" for "+", "%2F" for "/", "%20" for a blank). Anything else
// that looks like an escape stays literal text, and "+" is a plus, never a blank.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentri::server {

class Query {
  public:
    // `target` is the request target as received ("/auth.php?login=x&pass=y"); the part after
    // the first "?" is parsed, up to a "#" if one slipped through.
    static Query FromTarget(std::string_view target);
    static Query Parse(std::string_view query);

    bool Has(std::string_view key) const;
    // The first value given for `key`; later repetitions are ignored.
    std::optional<std::string> Get(std::string_view key) const;

    const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }

  private:
    std::vector<std::pair<std::string, std::string>> items_;
};

// Decodes only "%2B", "%2F" and "%20" (hex digits in either case).
std::string DecodeClientValue(std::string_view value);

// Whole-text decimal readers: the text must be an optional "-" and digits only, in range.
std::optional<int64_t> ReadInteger(std::string_view text);
// "a, b,c" as {"a", "b", "c"}: split at commas, blanks around each item dropped, empty items
// skipped.
std::vector<std::string> SplitCommaList(std::string_view text);

// A flag is "1" or "0".
std::optional<bool> ReadFlag(std::string_view text);

}  // namespace zentri::server
