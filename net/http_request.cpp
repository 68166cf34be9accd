#include "net/http_request.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "net/address.h"
#include "net/body_file.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

// Read sizes of the body loops and the start size of an unannounced memory body.
constexpr size_t kChunk = 2048;
constexpr size_t kMemoryRead = 20480;
// A body of announced length n is read into n + kSlack bytes.
constexpr size_t kSlack = 2049;
// How long one wait for the network may last before the loop looks at the flags again; Cancel
// wakes it at once, so this only bounds the cost of a lost wake-up.
constexpr int kPollMs = 1000;

std::filesystem::path TargetFile(const std::u16string& devicePath) {
    if (devicePath.empty()) return {};
    return platform::HostPath(platform::Utf16ToUtf8(devicePath));
}

}  // namespace

// What one run of Execute keeps while libcurl delivers the response.
struct HttpRequest::Transfer {
    Transfer(HttpRequest& r, CURL* e) : request(r), easy(e) {}

    HttpRequest& request;
    CURL* easy;
    ResponseHeaders headers;
    bool started = false;   // the body loop has begun: buffer allocated or file opened
    int64_t announced = 0;  // Content-Length of the final response; 0 when unknown
    Outcome outcome = Outcome::Running;
    int64_t received = 0;
    BodyFile file;
};

HttpRequest::HttpRequest(std::u16string url, bool indicator, std::u16string path)
    : url_(std::move(url)),
      indicator_(indicator),
      toFile_(!path.empty()),
      path_(std::move(path)),
      hostPath_(TargetFile(path_)) {}

HttpRequest::~HttpRequest() = default;

void HttpRequest::Cancel() {
    cancelled_ = true;
    std::lock_guard<std::mutex> lock(wakeLock_);
    if (wakeTarget_) curl_multi_wakeup(wakeTarget_);
}

void HttpRequest::SetWakeTarget(CURLM* multi) {
    std::lock_guard<std::mutex> lock(wakeLock_);
    wakeTarget_ = multi;
}

bool HttpRequest::Execute(const TransferTimeouts& timeouts) {
    struct EndOfReading {
        std::atomic<bool>& pending;
        ~EndOfReading() { pending = false; }
    } endOfReading{pending_};

    if (cancelled_) return true;
    std::optional<Address> address = SplitAddress(url_);
    if (!address) return false;
    CurlEasy easy = NewGetHandle(*address, timeouts);
    if (!easy) return false;

    Transfer t(*this, easy.get());
    curl_easy_setopt(t.easy, CURLOPT_HEADERFUNCTION, &HttpRequest::OnHeader);
    curl_easy_setopt(t.easy, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(t.easy, CURLOPT_WRITEFUNCTION, &HttpRequest::OnData);
    curl_easy_setopt(t.easy, CURLOPT_WRITEDATA, &t);
    CURLcode code = Perform(t);
    return Conclude(t, code);
}

// Drives the transfer with a multi handle of its own, so that Cancel can wake a wait for the
// network instead of waiting for the next data or a time-out.
CURLcode HttpRequest::Perform(Transfer& t) {
    CurlMulti multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), t.easy) != CURLM_OK)
        return CURLE_OUT_OF_MEMORY;
    SetWakeTarget(multi.get());
    CURLcode code = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
        if (running == 0) {
            int left = 0;
            CURLMsg* msg = curl_multi_info_read(multi.get(), &left);
            code = msg && msg->msg == CURLMSG_DONE ? msg->data.result : CURLE_RECV_ERROR;
            break;
        }
        if (cancelled_) {
            if (t.outcome == Outcome::Running) t.outcome = Outcome::Cancelled;
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr);
    }
    SetWakeTarget(nullptr);
    curl_multi_remove_handle(multi.get(), t.easy);
    return code;
}

bool HttpRequest::Conclude(Transfer& t, CURLcode code) {
    if (t.outcome == Outcome::Running) {
        // libcurl ended the transfer: at the end of the body, or with an error.
        bool ended = code == CURLE_OK && (t.started || BeginBody(t));
        t.outcome = ended ? Outcome::Ended : Outcome::Failed;
    }
    if (!toFile_ && t.started) size_ = static_cast<int32_t>(t.received);
    if (t.outcome != Outcome::Failed && !t.file.Close()) t.outcome = Outcome::Failed;
    if (t.outcome == Outcome::Failed) {
        t.file.Discard();
        return false;
    }
    // The final, empty read of a body whose length was announced.
    if (t.outcome == Outcome::Ended && t.announced > 0) ReportProgress(t);
    return true;
}

size_t HttpRequest::OnHeader(char* data, size_t size, size_t count, void* transfer) {
    auto& t = *static_cast<Transfer*>(transfer);
    t.headers.Feed(std::string_view(data, size * count));
    return size * count;
}

size_t HttpRequest::OnData(char* data, size_t size, size_t count, void* transfer) {
    auto& t = *static_cast<Transfer*>(transfer);
    size_t total = size * count;
    // Anything short of `total` makes libcurl stop the transfer; the outcome says why.
    return t.request.Receive(t, data, total) ? total : 0;
}

bool HttpRequest::Receive(Transfer& t, const char* data, size_t size) {
    if (!t.started && !BeginBody(t)) {
        t.outcome = Outcome::Failed;
        return false;
    }
    while (size > 0) {
        if (cancelled_) {
            t.outcome = Outcome::Cancelled;
            return false;
        }
        size_t piece = ReadSize(t, size);
        if (piece == 0) {
            // Everything announced is in: the next read is the final, empty one.
            t.outcome = Outcome::Ended;
            return false;
        }
        if (!Store(t, data, piece)) {
            t.outcome = Outcome::Failed;
            return false;
        }
        data += piece;
        size -= piece;
        if (t.announced > 0) ReportProgress(t);
    }
    return true;
}

// Chooses the body loop from the mode and the announced length, and prepares its target.
bool HttpRequest::BeginBody(Transfer& t) {
    t.started = true;
    t.announced = std::max(0, platform::ParseInt(t.headers.ContentLength()));
    size_ = static_cast<int32_t>(t.announced);
    if (toFile_) {
        // An error page is not the file that was asked for.
        if (t.headers.Status() >= 400) return false;
        return t.file.Open(hostPath_);
    }
    if (t.announced > kMaxMemoryBody) return false;
    try {
        body_.resize(t.announced > 0 ? static_cast<size_t>(t.announced) + kSlack : kMemoryRead);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

size_t HttpRequest::ReadSize(const Transfer& t, size_t available) const {
    if (toFile_) return std::min(available, kChunk);
    if (t.announced == 0) return std::min(available, kMemoryRead);
    // Never more than announced, so a longer body cannot run past the buffer.
    int64_t left = t.announced - t.received;
    return static_cast<size_t>(
        std::min<int64_t>({static_cast<int64_t>(available), static_cast<int64_t>(kChunk), left}));
}

bool HttpRequest::Store(Transfer& t, const char* data, size_t size) {
    if (toFile_) {
        if (!t.file.Write(data, size)) return false;
        t.received += static_cast<int64_t>(size);
        return true;
    }
    if (t.announced == 0 && t.received + static_cast<int64_t>(size) > kMaxMemoryBody) return false;
    std::memcpy(body_.data() + t.received, data, size);
    t.received += static_cast<int64_t>(size);
    if (t.announced > 0) return true;
    // Unannounced length: keep room for one more full read, doubling the buffer as needed.
    if (body_.size() - static_cast<size_t>(t.received) >= kMemoryRead) return true;
    try {
        body_.resize(body_.size() * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void HttpRequest::ReportProgress(const Transfer& t) {
    if (quiet_) return;
    std::lock_guard<AppLockType> lock(AppLock());
    if (quiet_) return;
    // A body longer than announced (a file transfer keeps it all) still reports at most 1.0.
    double fraction = static_cast<double>(t.received) / static_cast<double>(t.announced);
    progress_.Invoke(this, std::min(fraction, 1.0));
}

void HttpRequest::ReleaseBody() {
    std::vector<uint8_t>().swap(body_);
    progress_.Clear();
    completion_.Clear();
}

}  // namespace zentri
