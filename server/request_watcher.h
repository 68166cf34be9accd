#pragma once
// The one thread that waits for the clients' requests: every connection that has no whole
// request yet (a new one, or a kept-alive one between requests) waits here, not on a worker, so
// a client that sends slowly or sits idle holds nothing but its socket. A connection whose
// request has arrived is handed to `ready`; one that misses its deadline is closed.

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "server/connection.h"
#include "server/connection_limits.h"

namespace zentri::server {

// Whether `bytes` begin with a request that can be handed over: its head is complete and so is
// the body it announces (a body that follows "100 Continue", a chunked one, or one larger than
// `maxBody` is left to the reader). A head that grows beyond the reader's limits is handed over
// too, to be refused there.
bool RequestArrived(std::string_view bytes, size_t maxBody);

class RequestWatcher {
  public:
    using Ready = std::function<void(ConnectionPtr)>;

    RequestWatcher(const ConnectionLimits& limits, size_t maxBody, Ready ready);
    ~RequestWatcher();
    RequestWatcher(const RequestWatcher&) = delete;
    RequestWatcher& operator=(const RequestWatcher&) = delete;

    // A newly accepted connection, or a kept-alive one after its response. Closed at once when
    // the watcher has stopped or holds its limit of connections.
    void Add(ConnectionPtr connection, bool keptAlive);
    // Closes every waiting connection and ends the thread; later connections are closed at once.
    void Stop();

  private:
    void Loop();
    void Wake();
    // Takes the added connections in; false once stopped.
    bool TakeAdded();
    // Reads what the connection's socket has; false when it is to be closed.
    bool Receive(Connection& c, SteadyClock::time_point now);

    const ConnectionLimits limits_;
    const size_t maxBody_;
    const Ready ready_;
    int wake_[2] = {-1, -1};
    std::mutex mutex_;
    std::vector<ConnectionPtr> added_;
    bool stopped_ = false;
    std::vector<ConnectionPtr> waiting_;  // the loop's own
    std::thread thread_;
};

}  // namespace zentri::server
