#include "server/command_line.h"

#include "server/bulk_category.h"
#include "server/query.h"

namespace zentri::server {

const char* const kUsage =
    "usage: zentri-catalogue serve --port N --data DIR [--host ADDR] [--session-idle SECONDS]\n"
    "                              [--assets DIR] [--public-url URL] [--bulk-category N]\n"
    "       zentri-catalogue user add LOGIN PASSWORD MAIL [--active] --data DIR\n"
    "       zentri-catalogue user activate LOGIN --data DIR\n";

std::string ParseCommandLine(const std::vector<std::string>& args, Command& command) {
    std::vector<std::string> words;  // the words that are not options
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--active") {
            command.active = true;
        } else if (arg == "--fast-hash") {
            command.fastHash = true;
        } else if (arg == "--data") {
            if (!value(command.data)) return "--data needs a folder";
        } else if (arg == "--assets") {
            if (!value(command.assets)) return "--assets needs a folder";
        } else if (arg == "--public-url") {
            if (!value(command.publicUrl) || command.publicUrl.rfind("http", 0) != 0)
                return "--public-url needs an address such as http://catalogue.example:8642/";
        } else if (arg == "--host") {
            if (!value(command.host) || command.host.empty()) return "--host needs an address";
        } else if (arg == "--port") {
            auto port = value(text) ? ReadInteger(text) : std::nullopt;
            if (!port || *port < 0 || *port > 65535) return "--port needs a number from 0 to 65535";
            command.port = static_cast<int>(*port);
        } else if (arg == "--session-idle") {
            auto idle = value(text) ? ReadInteger(text) : std::nullopt;
            if (!idle || *idle < 1) return "--session-idle needs a number of seconds";
            command.sessionIdle = *idle;
        } else if (arg == "--bulk-category") {
            auto count = value(text) ? ReadInteger(text) : std::nullopt;
            if (!count || *count < 0 || *count > kMaxBulkApps)
                return "--bulk-category needs a number of applications from 0 to " +
                       std::to_string(kMaxBulkApps);
            command.bulkCategory = *count;
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option " + arg;
        } else {
            words.push_back(arg);
        }
    }
    if (command.data.empty()) return "--data DIR is required";
    if (words.size() == 1 && words[0] == "serve") {
        command.kind = Command::Serve;
        if (command.port < 0) return "serve needs --port N (0 picks a free port)";
        return "";
    }
    if (words.size() == 5 && words[0] == "user" && words[1] == "add") {
        command.kind = Command::UserAdd;
        command.login = words[2], command.password = words[3], command.mail = words[4];
        return "";
    }
    if (words.size() == 3 && words[0] == "user" && words[1] == "activate") {
        command.kind = Command::UserActivate;
        command.login = words[2];
        return "";
    }
    return "unknown command";
}

}  // namespace zentri::server
