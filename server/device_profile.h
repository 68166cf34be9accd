#pragma once
// What the client told the service about the handset with "config", and what an application
// needs of it. The catalogue offers only applications whose requirements the profile meets.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/query.h"

namespace zentri::server {

// The ten features of the profile, under their parameter names.
inline constexpr const char* kFeatureNames[] = {"irda", "bt",    "wifi",  "phone", "gl",
                                                "cam",  "cam3g", "accel", "gps",   "keypad"};

struct DeviceProfile {
    std::string locale;
    std::string osver;  // platform code such as "wm65ppc"
    int w = 0;
    int h = 0;
    std::vector<std::string> features;  // names of the features the device has

    bool Has(std::string_view feature) const;
    // Features as stored: names separated by blanks.
    std::string FeatureText() const;
    static std::vector<std::string> SplitWords(std::string_view text);
};

// Reads the parameters of "config". Returns the result code: 0, or the refusal for the first
// missing or unusable parameter.
int ReadProfile(const Query& query, DeviceProfile& profile);

// An application's requirements; each list empty means "any".
struct Requirements {
    std::vector<std::string> platforms;  // platform codes
    std::vector<std::string> screens;    // "WxH" in the natural orientation
    std::vector<std::string> needs;      // feature names

    static Requirements FromText(std::string_view platforms, std::string_view screens,
                                 std::string_view needs);
    bool MetBy(const DeviceProfile& profile) const;
};

}  // namespace zentri::server
