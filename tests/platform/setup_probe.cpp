// A setup library for the tests: it writes each call it receives, with its arguments and what
// it sees on the device at that moment, as one line to $ZENTRI_SETUP_PROBE_LOG:
//     Install_Init first=1 previous=0 dir=\Program Files\Probe files=no
// "files" tells whether <dir>\probe.exe exists. Its answers and faults come from the
// environment: ZENTRI_SETUP_PROBE_ANSWER=<call name> makes that call answer "cancel" (the
// init calls) or "uninstall" (Install_Exit); ZENTRI_SETUP_PROBE_OBSTACLE=<host path> makes
// Install_Init create a folder there, a fault in the way of the installer's next steps;
// ZENTRI_SETUP_PROBE_CRASH=<call name> makes that call crash its process. Uninstall_Init also
// prints a false answer of the configuration manager on the standard output, as a library that
// prints (or means harm) may.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/setup_library.h"

namespace {

std::string uninstallDir;  // between Uninstall_Init and Uninstall_Exit of one removal

bool ProbeFileExists(const std::string& dir) {
    const char* root = std::getenv("ZENTRI_DEVICE_ROOT");
    std::string path = std::string(root ? root : "") + dir + "\\probe.exe";
    for (char& c : path)
        if (c == '\\') c = '/';
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void Log(const std::string& line) {
    const char* log = std::getenv("ZENTRI_SETUP_PROBE_LOG");
    if (!log) return;
    if (FILE* f = std::fopen(log, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

bool Refuses(const char* call) {
    const char* answer = std::getenv("ZENTRI_SETUP_PROBE_ANSWER");
    if (const char* crash = std::getenv("ZENTRI_SETUP_PROBE_CRASH");
        crash && std::string(crash) == call)
        std::raise(SIGSEGV);
    return answer && std::string(answer) == call;
}

std::string Files(const std::string& dir) {
    return ProbeFileExists(dir) ? "yes" : "no";
}

}  // namespace

extern "C" {

SETUP_EXPORT int Install_Init(void* window, int firstCall, int previouslyInstalled,
                              const char* installDir) {
    Log(std::string("Install_Init first=") + std::to_string(firstCall) +
        " previous=" + std::to_string(previouslyInstalled) + " dir=" + installDir +
        " files=" + Files(installDir) + (window ? " window" : ""));
    if (const char* obstacle = std::getenv("ZENTRI_SETUP_PROBE_OBSTACLE")) {
        std::error_code ec;
        std::filesystem::create_directories(obstacle, ec);
    }
    return Refuses("Install_Init") ? SETUP_INIT_CANCEL : SETUP_INIT_CONTINUE;
}

SETUP_EXPORT int Install_Exit(void* window, const char* installDir, unsigned failedDirs,
                              unsigned failedFiles, unsigned failedRegKeys,
                              unsigned failedRegValues, unsigned failedShortcuts) {
    unsigned failed = failedDirs + failedFiles + failedRegKeys + failedRegValues + failedShortcuts;
    Log(std::string("Install_Exit dir=") + installDir + " files=" + Files(installDir) +
        " failed=" + std::to_string(failed) + (window ? " window" : ""));
    return Refuses("Install_Exit") ? SETUP_EXIT_UNINSTALL : SETUP_EXIT_DONE;
}

SETUP_EXPORT int Uninstall_Init(void* window, const char* installDir) {
    uninstallDir = installDir;
    Log(std::string("Uninstall_Init dir=") + installDir + " files=" + Files(installDir) +
        (window ? " window" : ""));
    std::printf("status: 0\n");
    std::fflush(stdout);
    return Refuses("Uninstall_Init") ? SETUP_INIT_CANCEL : SETUP_INIT_CONTINUE;
}

SETUP_EXPORT int Uninstall_Exit(void* window) {
    Log("Uninstall_Exit files=" + Files(uninstallDir) + (window ? " window" : ""));
    return SETUP_EXIT_DONE;
}

}  // extern "C"
