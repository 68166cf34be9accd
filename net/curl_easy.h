#pragma once
// libcurl handles set up the way every transfer of the program uses them, and the reading of
// the response headers that the transport needs.

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "net/address.h"

namespace zentri {

// A transfer fails when the connection is not up within `connect`, or when nothing arrives for
// `lowSpeed` (so a silent server cannot keep a transfer, and the loading indicator, forever).
struct TransferTimeouts {
    std::chrono::milliseconds connect{60000};
    std::chrono::seconds lowSpeed{60};
};

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlMultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

// A handle for a GET of `address`: agent "Zentri", direct connection (no proxy, not even one
// named by the environment), redirects followed within http and https, the time-outs, no
// signals (it runs on worker threads). Null when libcurl refuses the address.
CurlEasy NewGetHandle(const Address& address, const TransferTimeouts& timeouts);

// What the transport needs from the headers of one transfer. libcurl hands over the headers of
// every response it reads (interim and followed redirects too); each status line starts afresh.
class ResponseHeaders {
  public:
    // One header line as libcurl delivers it (with its line end). True when it is the blank line
    // that ends the headers of the final response, the one whose body is the result.
    bool Feed(std::string_view line);

    long Status() const { return status_; }
    // The Content-Length value as sent (empty when absent).
    const std::string& ContentLength() const { return contentLength_; }

  private:
    long status_ = 0;
    std::string contentLength_;
    bool location_ = false;
};

}  // namespace zentri
