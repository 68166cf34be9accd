#include "platform/config_process.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/config_manager.h"
#include "platform/debug.h"
#include "platform/device_program.h"
#include "platform/process.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// A temporary file without a name (removed at once, gone when closed), which no other child of
// this process inherits.
class TempFile {
  public:
    TempFile() {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "zentri-provision-XXXXXX").string();
        fd_ = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ >= 0) unlink(pattern.c_str());
    }
    ~TempFile() {
        if (fd_ >= 0) close(fd_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int Fd() const { return fd_; }
    bool Write(const std::string& text) {
        for (size_t done = 0; done < text.size();) {
            ssize_t n = write(fd_, text.data() + done, text.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return lseek(fd_, 0, SEEK_SET) == 0;
    }
    std::string ReadAll() {
        std::string text;
        char buffer[4096];
        ssize_t n;
        if (lseek(fd_, 0, SEEK_SET) != 0) return text;
        while ((n = read(fd_, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(n));
        return text;
    }

  private:
    int fd_ = -1;
};

// Reads "status: N\n" and the result document after it; false when the answer is not that.
bool ParseAnswer(const std::string& answer, int& status, std::string& result) {
    constexpr std::string_view kPrefix = "status: ";
    size_t end = answer.find('\n');
    if (answer.compare(0, kPrefix.size(), kPrefix) != 0 || end == std::string::npos) return false;
    std::string number = answer.substr(kPrefix.size(), end - kPrefix.size());
    char* stop = nullptr;
    long value = std::strtol(number.c_str(), &stop, 10);
    if (number.empty() || *stop != '\0' || value < -1000000 || value > 1000000) return false;
    status = static_cast<int>(value);
    result = answer.substr(end + 1);
    if (!result.empty() && result.back() == '\n') result.pop_back();
    return true;
}

int Aborted(const char* why) {
    DebugPrintf("configuration manager: %s\n", why);
    return kConfigAborted;
}

}  // namespace

int ProcessConfigurationInChild(const std::string& document, std::string* result) {
    if (result) result->clear();
    fs::path program = ConfigurationManagerExecutable();
    if (program.empty()) return Aborted("the provision program cannot be found");
    TempFile input, output;
    if (input.Fd() < 0 || output.Fd() < 0 || !input.Write(document))
        return Aborted("no temporary file for the document");
    std::optional<Process> child =
        Process::StartHost({program.string(), "-"}, input.Fd(), output.Fd());
    if (!child) return Aborted("the provision program cannot be started");
    int code = child->Wait();
    int status = 0;
    std::string answer;
    // A status counts only from a child that ended normally with the exit code that goes with
    // it; one that died after writing it is taken as one that did not finish.
    if (!ParseAnswer(output.ReadAll(), status, answer) || code != (status < 0 ? 1 : 0))
        return Aborted(code < 0 ? "provision died of a signal" : "provision gave no status");
    if (result) *result = answer;
    return status;
}

}  // namespace platform
