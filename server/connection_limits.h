#pragma once
// How long the service waits for its clients, and how many it serves at once. A client never
// holds a worker while it is slow to send or idle: connections wait for their requests on one
// watcher thread and reach a worker only with a whole request in hand.

#include <chrono>
#include <cstddef>

namespace zentri::server {

struct ConnectionLimits {
    // A request (its head and an announced body) must have arrived this long after the
    // connection was opened, or after the first byte of a request on a kept-alive connection.
    std::chrono::milliseconds request{10000};
    // A kept-alive connection waits this long for the first byte of its next request.
    std::chrono::milliseconds idle{5000};
    // A response that cannot be written further for this long ends its connection.
    std::chrono::milliseconds write{10000};
    // Requests handled at once.
    size_t workers = 16;
    // Connections waiting for their requests; one more is closed at once.
    size_t waiting = 512;
    // Requests on one connection before it is closed.
    size_t requestsPerConnection = 100;
};

}  // namespace zentri::server
