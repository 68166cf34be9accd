#pragma once
// One HTTP GET transfer, created and run by InetManager on a thread of its own. The body goes to
// memory or to a file; progress and completion are reported through delegates.
//
// Every delegate runs on the transfer thread while it holds appLock, so handlers are serialised
// with the UI thread's message handling. Subscribe under appLock right after
// InetManager::Request returns: no delegate runs before the subscribing caller releases appLock.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <curl/curl.h>

#include "net/curl_easy.h"
#include "ui/delegate.h"
#include "ui/shared_object.h"

namespace zentri {

class InetManager;

class HttpRequest : public shared_object {
  public:
    // Largest body held in memory (announced or received); a larger one fails the transfer.
    static constexpr int64_t kMaxMemoryBody = 64 * 1024 * 1024;

    ~HttpRequest() override;

    // The fraction (0.0 to 1.0) of the announced length received, after each read of the body
    // and once more after the last one; only when the response announces its length.
    Delegation_2<HttpRequest*, double>& Progress() { return progress_; }
    // Called once when the transfer has ended: true on success (and after Cancel). Right after
    // the completion delegates have returned, the body buffer is freed and the delegates of
    // this request are dropped.
    Delegation_2<HttpRequest*, bool>& Completion() { return completion_; }

    // Asks the transfer to stop before its next read (from any thread). It then completes with
    // true and what it has so far; a file keeps the part received. A request still waiting in
    // the queue does not connect at all. Callers that cancel usually remove their handlers
    // first.
    void Cancel();

    // The body of a memory transfer; meaningful inside the completion handler only (null after
    // it, and in file mode).
    const uint8_t* Body() const { return body_.empty() ? nullptr : body_.data(); }
    // While running, the announced length (0 when the response does not announce one); after a
    // memory transfer, the number of body bytes received.
    int32_t Size() const { return size_.load(); }
    // True from creation until the transfer has finished reading.
    bool IsPending() const { return pending_.load(); }

    const std::u16string& Url() const { return url_; }
    // The device path of the target file; empty for a memory transfer.
    const std::u16string& Path() const { return path_; }

  private:
    friend class InetManager;
    struct Transfer;
    enum class Outcome { Running, Ended, Cancelled, Failed };

    HttpRequest(std::u16string url, bool indicator, std::u16string path);

    // Runs the whole transfer on the calling thread; true on success.
    bool Execute(const TransferTimeouts& timeouts);
    CURLcode Perform(Transfer& t);
    bool Conclude(Transfer& t, CURLcode code);
    // The body loops: take `size` received bytes in reads of the loop's size.
    bool Receive(Transfer& t, const char* data, size_t size);
    bool BeginBody(Transfer& t);
    size_t ReadSize(const Transfer& t, size_t available) const;
    bool Store(Transfer& t, const char* data, size_t size);
    void ReportProgress(const Transfer& t);
    void SetWakeTarget(CURLM* multi);
    // Frees the body and drops the delegates (under appLock, after the completion delegates).
    void ReleaseBody();

    static size_t OnHeader(char* data, size_t size, size_t count, void* transfer);
    static size_t OnData(char* data, size_t size, size_t count, void* transfer);

    const std::u16string url_;
    Delegation_2<HttpRequest*, double> progress_;
    Delegation_2<HttpRequest*, bool> completion_;
    std::vector<uint8_t> body_;
    std::atomic<int32_t> size_{0};
    std::thread thread_;    // guarded by InetManager's queue lock
    bool started_ = false;  // likewise; set when the transfer thread has been started
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> pending_{true};
    const bool indicator_;
    const bool toFile_;
    const std::u16string path_;
    const std::filesystem::path hostPath_;
    // Set when the transport shuts down: from then on nothing calls into the program.
    std::atomic<bool> quiet_{false};

    std::mutex wakeLock_;          // guards wakeTarget_; taken last of all locks
    CURLM* wakeTarget_ = nullptr;  // the running transfer's multi handle, woken by Cancel
};

}  // namespace zentri
