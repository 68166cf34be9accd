// Starting requests: with the loading indicator unless the body goes to a file.

#include "net/api_requests.h"
#include "net/inet_manager.h"

namespace zentri::api {

shared_ptr<HttpRequest> Send(const std::u16string& url) {
    return InetManager::Instance().Request(url, true);
}

shared_ptr<HttpRequest> SendToFile(const std::u16string& url, const std::u16string& path) {
    return InetManager::Instance().Request(url, false, path);
}

std::u16string QuerySize(const std::u16string& url) {
    return InetManager::Instance().GetSize(url);
}

}  // namespace zentri::api
