#pragma once
// The HTTP layer with the service's own connection handling: the HTTP layer accepts and
// answers, but a connection reaches one of the workers only with a whole request in hand (see
// RequestWatcher), and goes back to waiting after its response when it is kept alive. A request
// has a bounded time to arrive and an idle connection a bounded time to live, so slow or idle
// clients never keep the others waiting; and a stop closes every waiting connection at once.
//
// Responses go out with TCP_NODELAY: the HTTP layer writes a response's head and body in two
// writes, and without it the body of every kept-alive response after the first would wait for
// the client's delayed acknowledgement (some 40 ms).

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "server/connection.h"
#include "server/connection_limits.h"
#include "server/request_watcher.h"

namespace zentri::server {

class ConnectionServer : public httplib::Server {
  public:
    explicit ConnectionServer(const ConnectionLimits& limits);
    ~ConnectionServer() override;

    // Serves the bound socket until stop(); then closes every connection, lets the workers
    // finish the responses under way (their reads end at once) and joins them.
    bool Serve();

  private:
    // Called by the HTTP layer's accept loop for each new socket: hands it to the watcher.
    bool process_and_close_socket(socket_t sock) override;

    void StartWorkers();
    void StopWorkers();
    void Work();
    void Answer(ConnectionPtr connection);

    const ConnectionLimits limits_;
    std::unique_ptr<RequestWatcher> watcher_;
    std::mutex mutex_;
    std::condition_variable readyChanged_;
    std::deque<ConnectionPtr> ready_;
    std::set<int> answering_;  // sockets of the connections at a worker
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace zentri::server
