#include "server/query.h"

#include <charconv>

namespace zentri::server {

Query Query::FromTarget(std::string_view target) {
    size_t mark = target.find('?');
    if (mark == std::string_view::npos) return Query{};
    return Parse(target.substr(mark + 1));
}

Query Query::Parse(std::string_view query) {
    Query result;
    query = query.substr(0, query.find('#'));
    while (!query.empty()) {
        size_t end = query.find('&');
        std::string_view item = query.substr(0, end);
        query = end == std::string_view::npos ? std::string_view{} : query.substr(end + 1);
        if (item.empty()) continue;
        size_t equals = item.find('=');
        std::string_view key = item.substr(0, equals);
        std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : item.substr(equals + 1);
        result.items_.emplace_back(std::string(key), DecodeClientValue(value));
    }
    return result;
}

bool Query::Has(std::string_view key) const {
    return Get(key).has_value();
}

std::optional<std::string> Query::Get(std::string_view key) const {
    for (const auto& [k, v] : items_)
        if (k == key) return v;
    return std::nullopt;
}

std::string DecodeClientValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            char hi = value[i + 1];
            char lo = static_cast<char>(value[i + 2] | 0x20);  // lower case for letters
            char decoded = 0;
            if (hi == '2' && lo == 'b') decoded = '+';
            if (hi == '2' && lo == 'f') decoded = '/';
            if (hi == '2' && value[i + 2] == '0') decoded = ' ';
            if (decoded) {
                out += decoded;
                i += 2;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

std::optional<int64_t> ReadInteger(std::string_view text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string> SplitCommaList(std::string_view text) {
    std::vector<std::string> items;
    while (true) {
        size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        size_t first = item.find_first_not_of(" \t\r\n");
        if (first != std::string_view::npos) {
            size_t last = item.find_last_not_of(" \t\r\n");
            items.emplace_back(item.substr(first, last - first + 1));
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return items;
}

std::optional<bool> ReadFlag(std::string_view text) {
    if (text == "1") return true;
    if (text == "0") return false;
    return std::nullopt;
}

}  // namespace zentri::server
