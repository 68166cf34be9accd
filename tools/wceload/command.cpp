#include "tools/wceload/command.h"

#include "platform/device_folder.h"
#include "platform/text.h"
#include "tools/wceload/installer.h"

namespace wceload {
namespace {

struct Options {
    std::string cab;
    bool deleteCab = true;
    bool quiet = false;
};

bool IsSwitch(const std::string& arg, const char* name) {
    return (arg[0] == '/' || arg[0] == '-') && platform::EqualsNoCase(arg.substr(1), name);
}

bool Parse(const std::vector<std::string>& args, Options& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || (arg[0] != '/' && arg[0] != '-')) {
            if (!options.cab.empty()) {
                error = "more than one CAB file given";
                return false;
            }
            options.cab = arg;
        } else if (IsSwitch(arg, "delete")) {
            if (i + 1 >= args.size() || (args[i + 1] != "0" && args[i + 1] != "1")) {
                error = "/delete needs 0 or 1";
                return false;
            }
            options.deleteCab = args[++i] == "1";
        } else if (IsSwitch(arg, "nodelete")) {
            options.deleteCab = false;
        } else if (IsSwitch(arg, "noui") || IsSwitch(arg, "silent")) {
            options.quiet = true;
        } else if (!IsSwitch(arg, "noaskdest") && !IsSwitch(arg, "askdest") &&
                   !IsSwitch(arg, "nouninstall") && !IsSwitch(arg, "safe")) {
            error = "unknown switch " + arg;
            return false;
        }
    }
    if (options.cab.empty()) error = "no CAB file given";
    return !options.cab.empty();
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& err) {
    Options options;
    std::string error;
    if (!Parse(args, options, error)) {
        err << "wceload: " << error << "\n"
            << "usage: wceload [/delete 0|1] [/noui] \"<CAB device path>\"\n";
        return kExitBadCommand;
    }
    InstallResult result = InstallCab(options.cab);
    if (!result.ok) {
        err << "wceload: " << options.cab << " was not installed: " << result.error << "\n";
        return kExitRefused;
    }
    if (!options.quiet)
        err << "wceload: \"" << result.appName << "\" was installed in " << result.installDir
            << "\n";
    // Only the very file installed from, and only inside the device: not one that the package
    // itself placed at the CAB's path, nor one that a link leads to.
    std::string why = "it cannot be identified";
    if (options.deleteCab &&
        (!result.cab || !platform::RemoveDeviceFileIf(options.cab, *result.cab, why)))
        err << "wceload: " << options.cab << " was not deleted: " << why << "\n";
    return kExitInstalled;
}

}  // namespace wceload
