#include "net/address.h"

#include "platform/text.h"

namespace zentri {
namespace {

bool IsHttpsScheme(std::string_view scheme) {
    return platform::EqualsNoCase(scheme, "https:");
}

std::string EncodeObjectPath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (char ch : path) {
        auto byte = static_cast<unsigned char>(ch);
        if (byte <= 0x20 || byte >= 0x7F || ch == '#') {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string Address::Url() const {
    return (secure ? "https://" : "http://") + host + objectPath;
}

std::optional<Address> SplitAddress(std::u16string_view url) {
    std::string text = platform::Utf16ToUtf8(url);
    size_t slashes = text.find("//");
    size_t hostStart = slashes == std::string::npos ? 0 : slashes + 2;
    size_t pathStart = text.find('/', hostStart);
    if (pathStart == std::string::npos) pathStart = text.size();

    Address address;
    address.secure = slashes != std::string::npos && IsHttpsScheme(text.substr(0, slashes));
    address.host = text.substr(hostStart, pathStart - hostStart);
    address.objectPath = pathStart < text.size() ? EncodeObjectPath(text.substr(pathStart)) : "/";
    if (address.host.empty()) return std::nullopt;
    for (char ch : address.host) {
        // A host that libcurl would read as something else (credentials, a second path, a
        // fragment, a query) is refused rather than reinterpreted.
        if (static_cast<unsigned char>(ch) <= 0x20 || ch == '@' || ch == '\\' || ch == '#' ||
            ch == '?')
            return std::nullopt;
    }
    return address;
}

}  // namespace zentri
