#include "server/connection_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace zentri::server {
namespace {

// The accept loop hands each socket over at once; the workers are the server's own.
class HandOver : public httplib::TaskQueue {
  public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override {}
};

}  // namespace

ConnectionServer::ConnectionServer(const ConnectionLimits& limits) : limits_(limits) {
    new_task_queue = [] { return new HandOver; };
    set_tcp_nodelay(true);
    // What the responses announce ("Keep-Alive: timeout=..., max=...").
    set_keep_alive_timeout(
        std::max<time_t>(1, std::chrono::ceil<std::chrono::seconds>(limits.idle).count()));
    set_keep_alive_max_count(limits.requestsPerConnection);
}

ConnectionServer::~ConnectionServer() {
    StopWorkers();
}

bool ConnectionServer::Serve() {
    // The HTTP layer listens with a backlog of 5: a burst of new connections while its accept
    // loop waits for the processor would be refused and retried by the clients a second later.
    socket_t listening = svr_sock_;
    if (listening != INVALID_SOCKET) ::listen(listening, SOMAXCONN);
    StartWorkers();
    bool served = listen_after_bind();
    StopWorkers();
    return served;
}

void ConnectionServer::StartWorkers() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    watcher_ =
        std::make_unique<RequestWatcher>(limits_, payload_max_length_, [this](ConnectionPtr c) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;  // closed
            ready_.push_back(std::move(c));
            readyChanged_.notify_one();
        });
    for (size_t i = 0; i < std::max<size_t>(1, limits_.workers); ++i)
        workers_.emplace_back([this] { Work(); });
}

void ConnectionServer::StopWorkers() {
    std::vector<std::thread> workers;
    std::deque<ConnectionPtr> ready;
    std::unique_ptr<RequestWatcher> watcher;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        // A worker still reading the rest of a request gets its end now; responses under way
        // are still written.
        for (int fd : answering_)
            ::shutdown(fd, SHUT_RD);
        workers.swap(workers_);
        ready.swap(ready_);
        watcher.swap(watcher_);
    }
    readyChanged_.notify_all();
    if (watcher) watcher->Stop();  // closes the connections waiting there
    for (std::thread& worker : workers)
        worker.join();
}

bool ConnectionServer::process_and_close_socket(socket_t sock) {
    int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto connection = std::make_unique<Connection>(sock);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || !watcher_) return false;  // closed
    watcher_->Add(std::move(connection), false);
    return true;
}

void ConnectionServer::Work() {
    for (;;) {
        ConnectionPtr c;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            readyChanged_.wait(lock, [this] { return stopping_ || !ready_.empty(); });
            if (stopping_) return;
            c = std::move(ready_.front());
            ready_.pop_front();
            answering_.insert(c->fd);
        }
        Answer(std::move(c));
    }
}

void ConnectionServer::Answer(ConnectionPtr c) {
    bool last = ++c->served >= limits_.requestsPerConnection;
    bool closed = false;
    bool ok;
    {
        ConnectionStream stream(*c, limits_.write);
        ok = process_request(stream, last, closed, nullptr);
    }
    c->Compact();
    std::lock_guard<std::mutex> lock(mutex_);
    answering_.erase(c->fd);
    if (!ok || closed || last || stopping_) return;  // closed here
    watcher_->Add(std::move(c), true);
}

}  // namespace zentri::server
