#pragma once
// Names shared by the build step that makes the catalogue's files and the service that serves
// them: where an application's icon, screenshots and packages are found below the assets folder.

#include <cstdint>
#include <string>
#include <string_view>

namespace zentri::server {

// A file-name form of a sysid: lower-case letters and digits, other runs become one "-".
inline std::string Slug(std::string_view sysid) {
    std::string slug;
    for (char c : sysid) {
        bool alnum = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a'), alnum = true;
        if (alnum)
            slug += c;
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "app" : slug;
}

// Below the assets folder.
inline std::string IconPath(int64_t app) {
    return "media/icons/" + std::to_string(app) + ".png";
}
inline std::string ShotPath(int64_t app, int number, bool jpeg) {
    return "media/shots/" + std::to_string(app) + "-" + std::to_string(number) +
           (jpeg ? ".jpg" : ".png");
}
inline std::string PackageFile(std::string_view sysid, int64_t revision) {
    return Slug(sysid) + "-r" + std::to_string(revision) + ".cab";
}
inline std::string PackagePath(std::string_view sysid, int64_t revision) {
    return "packages/" + PackageFile(sysid, revision);
}
// A package the build makes elsewhere (the client's own), under its own file name.
inline std::string PrebuiltPackagePath(std::string_view file) {
    return "packages/" + std::string(file);
}

}  // namespace zentri::server
