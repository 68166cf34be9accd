#include "platform/device_info.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/device_ini_default.h"
#include "platform/paths.h"

namespace platform {
namespace {

const std::set<std::string> kFeatures = {"phone", "irda",  "bt",    "wifi", "gl",
                                         "cam",   "cam3g", "accel", "gps",  "keypad"};

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::optional<int> ParseNumber(const std::string& text, int min, int max) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max) return std::nullopt;
    return value;
}

// Every problem is printed once per process, however often the file is read.
void Report(const std::string& problem) {
    static std::mutex lock;
    static std::set<std::string> reported;
    std::lock_guard<std::mutex> guard(lock);
    if (reported.insert(problem).second) std::fprintf(stderr, "zentri: %s\n", problem.c_str());
}

struct Parser {
    DeviceInfo& info;
    const std::string& source;
    int line = 0;

    void Problem(const std::string& what) {
        info.problems.push_back(source + ":" + std::to_string(line) + ": " + what);
    }

    void SetNumber(int& field, const std::string& key, const std::string& value, int min, int max) {
        if (auto n = ParseNumber(value, min, max)) {
            field = *n;
        } else {
            Problem(key + " must be a number from " + std::to_string(min) + " to " +
                    std::to_string(max) + ", not \"" + value + "\"; keeping " +
                    std::to_string(field));
        }
    }

    void Device(const std::string& key, const std::string& value) {
        if (key == "platform") {
            if (value.empty())
                Problem("platform is empty; keeping " + info.platformType);
            else
                info.platformType = value;
        } else if (key == "os_major")
            SetNumber(info.osMajor, key, value, 0, 99);
        else if (key == "os_minor")
            SetNumber(info.osMinor, key, value, 0, 99);
        else if (key == "os_build")
            SetNumber(info.osBuild, key, value, 0, 999999);
        else if (key == "screen_width")
            SetNumber(info.screenWidth, key, value, 16, 4096);
        else if (key == "screen_height")
            SetNumber(info.screenHeight, key, value, 16, 4096);
        else if (key == "dpi")
            SetNumber(info.dpi, key, value, 48, 960);
        else if (key == "rotation") {
            int r = info.rotation;
            SetNumber(r, key, value, 0, 270);
            if (r % 90)
                Problem("rotation must be 0, 90, 180 or 270; keeping " +
                        std::to_string(info.rotation));
            else
                info.rotation = r;
        } else if (key == "storage_card") {
            if (value.find_first_of("\\/") != std::string::npos || value == "..")
                Problem("storage_card must be a plain folder name; keeping \"" + info.storageCard +
                        "\"");
            else
                info.storageCard = value;
        } else if (key == "locale")
            info.locale = value;
        else
            Problem("unknown setting \"" + key + "\" ignored");
    }

    void Feature(const std::string& key, const std::string& value) {
        if (!kFeatures.count(key)) return Problem("unknown feature \"" + key + "\" ignored");
        if (value.empty())
            info.featureOverrides.erase(key);
        else if (value == "1" || value == "0")
            info.featureOverrides[key] = value == "1";
        else
            Problem(key + " must be 1, 0 or empty, not \"" + value + "\"; detecting it");
    }
};

void ApplyEnvironment(DeviceInfo& info) {
    if (const char* screen = std::getenv("ZENTRI_SCREEN"); screen && *screen) {
        std::string s = screen;
        size_t x = s.find_first_of("xX");
        auto w = x == std::string::npos ? std::nullopt : ParseNumber(s.substr(0, x), 16, 4096);
        auto h = x == std::string::npos ? std::nullopt : ParseNumber(s.substr(x + 1), 16, 4096);
        if (w && h)
            info.screenWidth = *w, info.screenHeight = *h;
        else
            info.problems.push_back("ZENTRI_SCREEN must look like 480x640, not \"" + s +
                                    "\"; ignored");
    }
    if (const char* dpi = std::getenv("ZENTRI_DPI"); dpi && *dpi) {
        if (auto n = ParseNumber(dpi, 48, 960))
            info.dpi = *n;
        else
            info.problems.push_back(
                std::string("ZENTRI_DPI must be a number from 48 to 960, not \"") + dpi +
                "\"; ignored");
    }
}

}  // namespace

const char* DefaultDeviceIni() {
    return kDefaultDeviceIni;
}

int DeviceInfo::SystemFontHeight() const {
    return static_cast<int>(std::lround(13.0 * dpi / 96.0));
}

int DeviceInfo::IconWidth() const {
    return 32 * dpi / 96;
}

std::optional<bool> DeviceInfo::Feature(const std::string& name) const {
    auto it = featureOverrides.find(name);
    if (it == featureOverrides.end()) return std::nullopt;
    return it->second;
}

DeviceInfo ParseDeviceInfo(const std::string& text, const std::string& source) {
    DeviceInfo info;
    Parser parser{info, source};
    std::istringstream in(text);
    std::string raw, section;
    while (std::getline(in, raw)) {
        ++parser.line;
        std::string line = Trim(raw);
        if (parser.line == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line = Trim(line.substr(3));
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                parser.Problem("malformed section header ignored");
                continue;
            }
            section = Trim(line.substr(1, line.size() - 2));
            if (section != "device" && section != "features")
                parser.Problem("unknown section [" + section + "]");
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            parser.Problem("line without \"=\" ignored");
            continue;
        }
        std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
        if (section == "device")
            parser.Device(key, value);
        else if (section == "features")
            parser.Feature(key, value);
        else
            parser.Problem("setting outside [device] or [features] ignored");
    }
    return info;
}

DeviceInfo LoadDeviceInfo() {
    std::filesystem::path file = DeviceRoot() / "device.ini";
    std::ifstream in(file, std::ios::binary);
    std::string text;
    if (in) {
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    } else {
        text = kDefaultDeviceIni;
        std::error_code ec;
        if (!std::filesystem::exists(file, ec) && !WriteFileAtomically(file, text))
            Report("cannot create " + file.string() + "; using the default device");
    }
    DeviceInfo info = ParseDeviceInfo(text, file.string());
    ApplyEnvironment(info);
    for (const auto& problem : info.problems)
        Report(problem);
    return info;
}

}  // namespace platform
