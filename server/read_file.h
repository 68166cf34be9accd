#pragma once
// Reading a whole file, for the service (packages it sends) and its asset builder (package
// sources).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zentri::server {

// The file's bytes; false when it cannot be opened or read to its end.
inline bool ReadFile(const std::filesystem::path& file, std::string& content) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    content = out.str();
    return static_cast<bool>(in) || in.eof();
}

}  // namespace zentri::server
