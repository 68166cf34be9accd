#include "server/device_profile.h"

#include <algorithm>

#include "server/result_code.h"

namespace zentri::server {

bool DeviceProfile::Has(std::string_view feature) const {
    return std::find(features.begin(), features.end(), feature) != features.end();
}

std::string DeviceProfile::FeatureText() const {
    std::string text;
    for (const auto& f : features)
        text += (text.empty() ? "" : " ") + f;
    return text;
}

std::vector<std::string> DeviceProfile::SplitWords(std::string_view text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        size_t start = text.find_first_not_of(" ,\t\n", at);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(" ,\t\n", start);
        words.emplace_back(text.substr(start, end - start));
        at = end == std::string_view::npos ? text.size() : end;
    }
    return words;
}

int ReadProfile(const Query& query, DeviceProfile& profile) {
    auto locale = query.Get("locale");
    auto osver = query.Get("osver");
    auto w = query.Get("w");
    auto h = query.Get("h");
    if (!locale || !osver || !w || !h) return kMissingParameter;
    auto width = ReadInteger(*w);
    auto height = ReadInteger(*h);
    // A screen is at most a few thousand pixels; anything else is not a screen size.
    if (!width || !height || *width < 1 || *height < 1 || *width > 10000 || *height > 10000)
        return kInvalidValue;
    if (locale->size() > 32 || osver->size() > 32) return kInvalidValue;
    profile =
        DeviceProfile{*locale, *osver, static_cast<int>(*width), static_cast<int>(*height), {}};
    for (const char* name : kFeatureNames) {
        auto value = query.Get(name);
        if (!value) return kMissingParameter;
        auto flag = ReadFlag(*value);
        if (!flag) return kInvalidValue;
        if (*flag) profile.features.push_back(name);
    }
    return kOk;
}

Requirements Requirements::FromText(std::string_view platforms, std::string_view screens,
                                    std::string_view needs) {
    return {DeviceProfile::SplitWords(platforms), DeviceProfile::SplitWords(screens),
            DeviceProfile::SplitWords(needs)};
}

bool Requirements::MetBy(const DeviceProfile& profile) const {
    auto contains = [](const std::vector<std::string>& list, const std::string& value) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    if (!platforms.empty() && !contains(platforms, profile.osver)) return false;
    std::string screen = std::to_string(profile.w) + "x" + std::to_string(profile.h);
    if (!screens.empty() && !contains(screens, screen)) return false;
    return std::all_of(needs.begin(), needs.end(),
                       [&](const std::string& need) { return profile.Has(need); });
}

}  // namespace zentri::server
