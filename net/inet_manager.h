#pragma once
// The HTTP transport: queues requests and runs at most five transfers at a time, each on a
// thread of its own, in the order in which the requests were made.
//
//   shared_ptr<HttpRequest> r = InetManager::Instance().Request(url, true);       // memory
//   shared_ptr<HttpRequest> f = InetManager::Instance().Request(url, false, path);  // to a file
//   r->Completion().Add(this, &Scene::OnAnswer);   // still under appLock, see http_request.h
//
// Addresses are "http://host[:port]/object?query" or "https://..."; without a port, 80 (443
// for https). Lock order: appLock, then the queue lock, then the ConnectionManager lock.

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/curl_easy.h"
#include "net/http_request.h"
#include "ui/pending_work.h"
#include "ui/shared_object.h"
#include "ui/singleton.h"

namespace zentri {

class InetManager : public Singleton<InetManager> {
  public:
    // Creates a GET request for `url`, queues it and makes sure it starts as soon as fewer than
    // five earlier requests are running. With `indicator` the loading indicator stays on screen
    // until the request has ended. With a `path` (a device path) the body is written to that
    // file, created or truncated when the body starts; a failed transfer leaves no file, nor
    // does an HTTP error status (400 and above). Without one the body is kept in memory, error
    // pages included. Takes appLock (the UI thread holds it already).
    // While the transport shuts down the request is neither queued nor run.
    shared_ptr<HttpRequest> Request(const std::u16string& url, bool indicator,
                                    const std::u16string& path = u"");

    // The size of the body at `url` in KiB (Content-Length / 1024, rounded down) as decimal
    // text; "0" when the server does not say; empty when the server cannot be reached or does
    // not answer. Blocks the calling thread; reads the response headers only.
    std::u16string GetSize(const std::u16string& url);

    // Starts the queued requests that have a place among the first five of the queue, and
    // joins the threads of transfers that have ended. The connected event's handler.
    void StartPending();

    // Cancels every transfer, drops the requests that have not started (they never complete)
    // and waits until every transfer thread has ended. Transfers that end meanwhile call
    // nothing in the program: no progress, no completion, no loading indicator; their delegates
    // are dropped under appLock once the threads are joined. Afterwards the transport
    // is empty and takes requests again. Run by the destructor at exit; callable
    // directly (tests). Must not be called while holding appLock.
    void Shutdown();

    // For tests only: shorter connect and no-data time-outs than the 60 s default, for the
    // transfers and size queries started from now on.
    void SetTimeoutsForTesting(const TransferTimeouts& timeouts);

    // The number of requests that have not ended yet.
    size_t QueueSize();

  private:
    friend class Singleton<InetManager>;
    static constexpr size_t kMaxRunning = 5;

    InetManager();
    ~InetManager() override;

    void StartQueued();  // queue lock held
    void Run(shared_ptr<HttpRequest> request, TransferTimeouts timeouts);
    void Finish(const shared_ptr<HttpRequest>& request, bool result);

    // The thread of a started transfer, until the transfer has ended.
    struct Worker {
        const HttpRequest* request;
        std::thread thread;
    };

    std::mutex lock_;  // the queue lock: guards everything below and each request's started_
    std::vector<shared_ptr<HttpRequest>> queue_;
    std::vector<Worker> workers_;
    // Threads of transfers that have ended, joined by the next StartPending or Shutdown. Every
    // thread is in workers_, in ended_ or with the one joining it, so none is missed.
    std::vector<std::thread> ended_;
    TransferTimeouts timeouts_;
    bool stopping_ = false;
    // Requests refused while stopping: they never run, and Shutdown drops their handlers.
    std::vector<shared_ptr<HttpRequest>> refused_;
    // Tells the automation that transfers are under way (declared last: unregistered first).
    WorkProbe pendingProbe_;
};

}  // namespace zentri
