#include "net/curl_easy.h"

#include "platform/text.h"

namespace zentri {
namespace {

constexpr long kMaxRedirects = 10;
// libcurl's receive buffer. The body loops still take the data in their own read sizes; a
// larger buffer only means fewer system calls.
constexpr long kReceiveBuffer = 256 * 1024;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// The redirects libcurl follows when the response names a Location.
bool IsFollowedRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

CurlEasy NewGetHandle(const Address& address, const TransferTimeouts& timeouts) {
    CurlEasy easy(curl_easy_init());
    if (!easy) return nullptr;
    CURL* h = easy.get();
    std::string url = address.Url();
    bool ok = curl_easy_setopt(h, CURLOPT_URL, url.c_str()) == CURLE_OK;
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Zentri");
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    // libcurl's default since 7.50.2, stated so that no build can lose it: a request written in
    // parts must not wait for the server's delayed acknowledgement.
    curl_easy_setopt(h, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.lowSpeed.count()));
    if (!ok) return nullptr;
    return easy;
}

bool ResponseHeaders::Feed(std::string_view line) {
    if (line.substr(0, 5) == "HTTP/") {
        size_t space = line.find(' ');
        status_ = space == std::string_view::npos ? 0 : platform::ParseInt(line.substr(space + 1));
        contentLength_.clear();
        location_ = false;
        return false;
    }
    line = Trim(line);
    if (line.empty()) {
        bool interim = status_ >= 100 && status_ < 200;
        return !interim && !(location_ && IsFollowedRedirect(status_));
    }
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view name = Trim(line.substr(0, colon));
    if (platform::EqualsNoCase(name, "Content-Length"))
        contentLength_ = std::string(Trim(line.substr(colon + 1)));
    else if (platform::EqualsNoCase(name, "Location"))
        location_ = true;
    return false;
}

}  // namespace zentri
