#include "platform/shell_open.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

// Waits for the opener on a thread of its own. The thread touches nothing but the process id,
// so it may outlive every object of the program; it ends with the opener.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

bool Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener never reads the caller's input.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    ReapInBackground(pid);
    return true;
}

}  // namespace

bool IsWebAddress(std::string_view target) {
    size_t colon = target.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = target[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return true;
}

bool ShellOpen(std::string_view target) {
    std::string argument;
    if (IsWebAddress(target)) {
        argument = std::string(target);
    } else {
        if (SplitDevicePath(target).empty()) return false;
        std::filesystem::path host = HostPath(target);
        std::error_code ec;
        if (!std::filesystem::exists(host, ec)) return false;
        argument = host.string();
    }
    if (const char* opener = std::getenv("ZENTRI_OPEN"); opener && *opener) {
        // The command may carry its own arguments; the target is passed as "$1", never parsed.
        return Spawn({"/bin/sh", "-c", std::string(opener) + " \"$1\"", "zentri-open", argument});
    }
    return Spawn({"xdg-open", argument});
}

}  // namespace platform
