#pragma once
// Starting device programs and waiting for them. A device program is a host executable placed
// at its device path (for example the installer at \Windows\wceload.exe); its command line is
// one text in the handset's form and is split into arguments by the handset's rules.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits a command line: blanks separate arguments, double quotes group, and backslashes are
// literal except before a double quote (2n backslashes + quote give n and toggle quoting;
// 2n+1 give n and a literal quote).
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

class Process {
  public:
    // Starts the device program with the command line; empty when it cannot be started.
    static std::optional<Process> Start(std::string_view deviceExe, std::string_view commandLine);
    // Starts a host program (argv[0] is looked up in PATH). The child's standard input and
    // output are the given descriptors when they are not -1, else this process's own.
    static std::optional<Process> StartHost(const std::vector<std::string>& argv, int input = -1,
                                            int output = -1);

    // Waits for the end; the exit code, or -1 when the process died of a signal.
    int Wait();
    pid_t Pid() const { return pid_; }

  private:
    explicit Process(pid_t pid) : pid_(pid) {}
    pid_t pid_;
    bool waited_ = false;
    int exitCode_ = -1;
};

}  // namespace platform
