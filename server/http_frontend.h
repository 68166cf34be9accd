#pragma once
// The HTTP side of the service: routes "<name>.php" requests to the API with their query taken
// from the raw request target (so that the client's own encoding is read exactly), serves the
// pictures and packages of the catalogue, and the pages for people.

#include <httplib.h>

#include <atomic>
#include <string>
#include <thread>

#include "server/api.h"
#include "server/connection_server.h"
#include "server/service.h"

namespace zentri::server {

class HttpFrontend {
  public:
    explicit HttpFrontend(CatalogueService& service, const ConnectionLimits& limits = {});
    ~HttpFrontend();
    HttpFrontend(const HttpFrontend&) = delete;
    HttpFrontend& operator=(const HttpFrontend&) = delete;

    // Binds to `host`:`port` (0 picks a free port); returns the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop; returns false when serving could not start. Returns at once when Stop
    // came first.
    bool Run();
    // Serves on a thread of its own (tests); Stop joins it.
    void Start();
    void Stop();

    // The address of the bound socket, "http://host:port/".
    std::string Address() const;

  private:
    void Route();
    std::string Base(const httplib::Request& request) const;
    void ServeFile(const std::string& relative, const char* type, httplib::Response& response);

    CatalogueService& service_;
    Api api_;
    ConnectionServer http_;
    std::string host_;
    int port_ = -1;
    std::thread thread_;
    std::atomic<bool> ended_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> serving_{false};  // Run is between its check of stopRequested_ and its end
};

}  // namespace zentri::server
