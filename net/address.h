#pragma once
// How a request's address becomes the server to connect to and the object to ask for.

#include <optional>
#include <string>
#include <string_view>

namespace zentri {

struct Address {
    bool secure = false;     // "https:" before the "//": TLS, port 443 unless one is given
    std::string host;        // as written, with ":port" when the address names one
    std::string objectPath;  // starts with "/", includes the query; "/" when nothing follows

    // The address as libcurl takes it.
    std::string Url() const;
};

// The host is the text after the first "//" up to the next "/" (the whole text when there is
// no "//"); the object path is the rest. Spaces, control characters, "#" and bytes outside
// ASCII in the object path are percent-encoded (so that all of it reaches the server); the rest
// goes out as written. An address without a usable host: nullopt.
std::optional<Address> SplitAddress(std::u16string_view url);

}  // namespace zentri
