#include "net/inet_manager.h"

#include <algorithm>
#include <system_error>

#include "app/loading.h"
#include "net/address.h"
#include "net/connection_manager.h"
#include "platform/text.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

// A size query reads the headers of the final response and stops there.
struct SizeQuery {
    ResponseHeaders headers;
    bool answered = false;
};

size_t OnSizeHeader(char* data, size_t size, size_t count, void* query) {
    auto& q = *static_cast<SizeQuery*>(query);
    if (!q.headers.Feed(std::string_view(data, size * count))) return size * count;
    q.answered = true;
    return 0;  // stops the transfer before the body
}

size_t RefuseBody(char*, size_t, size_t, void*) {
    return 0;
}

}  // namespace

InetManager::InetManager() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // Created before this manager, so destroyed after it: the transfers it stops at exit may
    // still reach them.
    Loading::Instance();
    ConnectionManager::Instance().Subscribe(this, &InetManager::StartPending);
    pendingProbe_ = WorkProbe([this] {
        std::lock_guard<std::mutex> guard(lock_);
        return !queue_.empty();
    });
}

InetManager::~InetManager() {
    Shutdown();
    ConnectionManager::Instance().Unsubscribe(this);
    curl_global_cleanup();
}

shared_ptr<HttpRequest> InetManager::Request(const std::u16string& url, bool indicator,
                                             const std::u16string& path) {
    shared_ptr<HttpRequest> request(new HttpRequest(url, indicator, path));
    {
        std::lock_guard<AppLockType> app(AppLock());
        std::lock_guard<std::mutex> queue(lock_);
        if (stopping_) {
            request->pending_ = false;
            refused_.push_back(request);
            return request;
        }
        if (indicator) Loading::Instance().Show(true);
        queue_.push_back(request);
    }
    ConnectionManager::Instance().Connect();
    return request;
}

void InetManager::StartPending() {
    std::vector<std::thread> ended;
    {
        std::lock_guard<std::mutex> queue(lock_);
        if (!stopping_) StartQueued();
        ended.swap(ended_);
    }
    // An ended transfer has given up every lock before its handle comes here.
    for (std::thread& thread : ended)
        thread.join();
}

void InetManager::StartQueued() {
    // Only the first five places of the queue run; running requests keep their places.
    for (size_t i = 0; i < queue_.size() && i < kMaxRunning; ++i) {
        HttpRequest& request = *queue_[i];
        if (request.started_) continue;
        try {
            workers_.push_back(
                {&request, std::thread(&InetManager::Run, this, queue_[i], timeouts_)});
        } catch (const std::system_error&) {
            return;  // no thread for now: tried again when the next transfer ends
        }
        request.started_ = true;
    }
}

void InetManager::Run(shared_ptr<HttpRequest> request, TransferTimeouts timeouts) {
    bool result = request->Execute(timeouts);
    Finish(request, result);
}

void InetManager::Finish(const shared_ptr<HttpRequest>& request, bool result) {
    std::unique_lock<AppLockType> app(AppLock(), std::defer_lock);
    if (!request->quiet_) app.lock();
    bool report = false;
    {
        std::lock_guard<std::mutex> queue(lock_);
        std::erase_if(queue_, [&](const shared_ptr<HttpRequest>& r) { return r == request; });
        report = !request->quiet_;
    }
    if (report) {
        if (request->indicator_) Loading::Instance().Show(false);
        StartPending();
        request->completion_.Invoke(request.get(), result);
        request->ReleaseBody();
    }
    // From here on this thread takes no lock, so whoever joins it cannot wait on it.
    std::lock_guard<std::mutex> queue(lock_);
    auto worker = std::find_if(workers_.begin(), workers_.end(),
                               [&](const Worker& w) { return w.request == request.get(); });
    if (worker == workers_.end()) return;  // Shutdown has taken the thread and joins it
    ended_.push_back(std::move(worker->thread));
    workers_.erase(worker);
}

void InetManager::Shutdown() {
    std::vector<std::thread> threads;
    std::vector<shared_ptr<HttpRequest>> stopped, dropped;
    {
        std::lock_guard<std::mutex> queue(lock_);
        stopping_ = true;
        stopped = queue_;
        for (const shared_ptr<HttpRequest>& request : queue_) {
            request->quiet_ = true;
            request->Cancel();
            if (!request->started_) dropped.push_back(request);
        }
        std::erase_if(queue_, [](const shared_ptr<HttpRequest>& r) { return !r->started_; });
        // Transfers that have left the queue may still be finishing: their threads are here.
        for (Worker& worker : workers_)
            threads.push_back(std::move(worker.thread));
        workers_.clear();
        for (std::thread& thread : ended_)
            threads.push_back(std::move(thread));
        ended_.clear();
    }
    for (const shared_ptr<HttpRequest>& request : dropped)
        request->pending_ = false;
    for (std::thread& thread : threads)
        thread.join();
    // The stopped requests never complete, so their handlers are dropped here instead: a handler
    // holding the object that holds the request would otherwise keep both alive for good. Under
    // appLock, as handlers are added and dropped everywhere else.
    // So are the handlers of requests refused meanwhile (their callers add them under appLock,
    // which this waits for).
    {
        std::lock_guard<AppLockType> app(AppLock());
        std::vector<shared_ptr<HttpRequest>> refused;
        {
            std::lock_guard<std::mutex> queue(lock_);
            refused.swap(refused_);
        }
        for (const shared_ptr<HttpRequest>& request : stopped)
            request->ReleaseBody();
        for (const shared_ptr<HttpRequest>& request : refused)
            request->ReleaseBody();
    }
    std::lock_guard<std::mutex> queue(lock_);
    stopping_ = false;
}

std::u16string InetManager::GetSize(const std::u16string& url) {
    std::optional<Address> address = SplitAddress(url);
    if (!address) return {};
    TransferTimeouts timeouts;
    {
        std::lock_guard<std::mutex> queue(lock_);
        timeouts = timeouts_;
    }
    CurlEasy easy = NewGetHandle(*address, timeouts);
    if (!easy) return {};
    SizeQuery query;
    curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, &OnSizeHeader);
    curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &query);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &RefuseBody);
    curl_easy_perform(easy.get());
    if (!query.answered) return {};
    return platform::IntToText(platform::ParseUInt(query.headers.ContentLength()) / 1024);
}

void InetManager::SetTimeoutsForTesting(const TransferTimeouts& timeouts) {
    std::lock_guard<std::mutex> queue(lock_);
    timeouts_ = timeouts;
}

size_t InetManager::QueueSize() {
    std::lock_guard<std::mutex> queue(lock_);
    return queue_.size();
}

}  // namespace zentri
