#pragma once
// Every call of the service: the address of each request with its parameters in the order the
// server expects, and the three ways of starting one. Requests answered with XML run with the
// loading indicator; a download to a file runs without it (the application's own status shows
// its progress), and the size query is synchronous.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/shared_object.h"

namespace zentri {

struct DeviceProfile;
class HttpRequest;

namespace api {

std::u16string AuthUrl(std::u16string_view login, std::u16string_view password);
std::u16string ActmailResendUrl(std::u16string_view login);
std::u16string RegUrl(std::u16string_view login, std::u16string_view password,
                      std::u16string_view mail);
// Sent as "mail" when the text has an "@" somewhere before its last "."; else as "login".
std::u16string AuthRestoreUrl(std::u16string_view loginOrMail);
std::u16string ConfigUrl(std::u16string_view sessionId, std::u16string_view locale,
                         const DeviceProfile& profile);
std::u16string CatsUrl(std::u16string_view sessionId);
std::u16string TagsUrl(std::u16string_view sessionId);

// The filters of an application list; -1 and empty texts are left out of the request.
struct GetAppsOptions {
    int32_t cat = -1;      // the category's id
    std::u16string query;  // search words
    std::u16string in;     // "name", "com" or "desc"
    std::u16string tags;   // tag names joined by ","
    int32_t count = -1;
    int32_t page = -1;
    std::u16string price;  // "paid" or "free"
    std::u16string sort;   // "rates", "downloads", "views" or "createtime"
};
std::u16string GetAppsUrl(std::u16string_view sessionId, const GetAppsOptions& options);

// Details of an installed application by its key name, without the description part.
std::u16string AppDetailsBySysidUrl(std::u16string_view sessionId, std::u16string_view sysid);
// Details of a catalogue application with the description part.
std::u16string AppDetailsUrl(std::u16string_view sessionId, int32_t appId);
std::u16string ReviewsUrl(std::u16string_view sessionId, int32_t appId);
// An empty text sends no "text" parameter.
std::u16string RateUrl(std::u16string_view sessionId, int32_t appId, int32_t rate,
                       std::u16string_view text);
std::u16string DownloadUrl(std::u16string_view sessionId, int32_t appId);
std::u16string DownloadSizeUrl(std::u16string_view sessionId, int32_t appId);

// Starts a request answered with XML, with the loading indicator.
shared_ptr<HttpRequest> Send(const std::u16string& url);
// Starts a download whose body goes to a file at a device path, without the indicator.
shared_ptr<HttpRequest> SendToFile(const std::u16string& url, const std::u16string& path);
// The size of a download in KiB as decimal text; empty when the server cannot be reached.
// Blocks the caller.
std::u16string QuerySize(const std::u16string& url);

}  // namespace api
}  // namespace zentri
