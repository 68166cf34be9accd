// Starts transfers that cannot end by themselves (a server that accepts and never answers) and
// returns from main, so that the transport is shut down by static destruction. Writes what
// happened to the report file; the test checks it, the exit code and the time taken.
//   net_exit_probe <report file> <number of requests>

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "net/inet_manager.h"
#include "platform/text.h"
#include "ui/app_lock.h"

using namespace zentri;

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    FILE* report = std::fopen(argv[1], "w");
    if (!report) return 2;
    int count = std::atoi(argv[2]);

    // Listens but never accepts: connections complete in the backlog and then hear nothing.
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return 2;
    std::u16string url =
        platform::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/x");

    InetManager& inet = InetManager::Instance();
    {
        std::lock_guard<AppLockType> app(AppLock());
        for (int i = 0; i < count; ++i) {
            shared_ptr<HttpRequest> request = inet.Request(url, true);
            request->Completion().Add(
                [report](HttpRequest*, bool) { std::fputs("completed\n", report); });
            request->Progress().Add(
                [report](HttpRequest*, double) { std::fputs("progress\n", report); });
        }
    }
    std::fprintf(report, "queued %zu\n", inet.QueueSize());
    std::fflush(report);
    return 0;
}
