#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

std::optional<pid_t> Spawn(const std::string& path, const std::vector<std::string>& args,
                           bool searchPath, int input = -1, int output = -1) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, 0);
    if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, 1);
    pid_t pid = 0;
    int rc = searchPath ? posix_spawnp(&pid, path.c_str(), &actions, nullptr, argv.data(), environ)
                        : posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return std::nullopt;
    return pid;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::string current;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size();) {
        char c = line[i];
        if (c == '\\') {
            size_t n = 0;
            while (i < line.size() && line[i] == '\\')
                ++n, ++i;
            if (i < line.size() && line[i] == '"') {
                current.append(n / 2, '\\');
                if (n % 2) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(n, '\\');
            }
            inArg = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArg = true;
            ++i;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArg) args.push_back(std::move(current));
            current.clear();
            inArg = false;
            ++i;
        } else {
            current += c;
            inArg = true;
            ++i;
        }
    }
    if (inArg) args.push_back(std::move(current));
    return args;
}

std::optional<Process> Process::Start(std::string_view deviceExe, std::string_view commandLine) {
    std::string host = HostPath(deviceExe).string();
    if (access(host.c_str(), X_OK) != 0) return std::nullopt;
    std::vector<std::string> args{host};
    for (auto& a : SplitCommandLine(commandLine))
        args.push_back(std::move(a));
    if (auto pid = Spawn(host, args, false)) return Process(*pid);
    return std::nullopt;
}

std::optional<Process> Process::StartHost(const std::vector<std::string>& argv, int input,
                                          int output) {
    if (argv.empty()) return std::nullopt;
    if (auto pid = Spawn(argv[0], argv, true, input, output)) return Process(*pid);
    return std::nullopt;
}

int Process::Wait() {
    if (waited_) return exitCode_;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &status, 0);
    } while (r < 0 && errno == EINTR);
    waited_ = true;
    exitCode_ = (r == pid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return exitCode_;
}

}  // namespace platform
