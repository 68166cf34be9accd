#pragma once
// The command line of zentri-catalogue:
//   serve --port N --data DIR [--host ADDR] [--session-idle SECONDS] [--assets DIR]
//         [--public-url URL] [--bulk-category N] [--fast-hash]
//   user add LOGIN PASSWORD MAIL [--active] --data DIR [--assets DIR] [--fast-hash]
//   user activate LOGIN --data DIR [--assets DIR]

#include <cstdint>
#include <string>
#include <vector>

namespace zentri::server {

struct Command {
    enum Kind { Serve, UserAdd, UserActivate } kind = Serve;
    std::string host = "127.0.0.1";
    int port = -1;
    std::string data;
    std::string assets;     // empty: beside the program
    std::string publicUrl;  // empty: the address listened on
    int64_t sessionIdle = 30 * 60;
    bool fastHash = false;      // minimal hash limits, for tests only
    int64_t bulkCategory = -1;  // generated applications to hold in their category; -1: as is
    std::string login, password, mail;
    bool active = false;
};

// Returns an empty text on success, else what is wrong with the arguments.
std::string ParseCommandLine(const std::vector<std::string>& args, Command& command);

extern const char* const kUsage;

}  // namespace zentri::server
