#include "net/api_requests.h"

#include "manager/device_profile.h"
#include "net/request_url.h"

namespace zentri::api {

std::u16string AuthUrl(std::u16string_view login, std::u16string_view password) {
    return RequestUrl(u"auth").Add(u"login", login).Add(u"pass", password, true).Finish();
}

std::u16string ActmailResendUrl(std::u16string_view login) {
    return RequestUrl(u"actmail_resend").Add(u"login", login).Finish();
}

std::u16string RegUrl(std::u16string_view login, std::u16string_view password,
                      std::u16string_view mail) {
    return RequestUrl(u"reg")
        .Add(u"login", login)
        .Add(u"pass", password, true)
        .Add(u"mail", mail)
        .Finish();
}

std::u16string AuthRestoreUrl(std::u16string_view loginOrMail) {
    size_t at = loginOrMail.find(u'@');
    size_t dot = loginOrMail.rfind(u'.');
    bool mail = at != std::u16string_view::npos && dot != std::u16string_view::npos && at < dot;
    return RequestUrl(u"auth_restore").Add(mail ? u"mail" : u"login", loginOrMail).Finish();
}

std::u16string ConfigUrl(std::u16string_view sessionId, std::u16string_view locale,
                         const DeviceProfile& profile) {
    // The flags go in this order, which differs from the record's.
    return RequestUrl(u"config")
        .Add(u"sessionid", sessionId)
        .Add(u"locale", locale)
        .Add(u"osver", profile.osver)
        .AddInt(u"w", profile.w)
        .AddInt(u"h", profile.h)
        .AddFlag(u"irda", profile.irda)
        .AddFlag(u"bt", profile.bt)
        .AddFlag(u"wifi", profile.wifi)
        .AddFlag(u"phone", profile.phone)
        .AddFlag(u"gl", profile.gl)
        .AddFlag(u"cam", profile.cam)
        .AddFlag(u"cam3g", profile.cam3g)
        .AddFlag(u"accel", profile.accel)
        .AddFlag(u"gps", profile.gps)
        .AddFlag(u"keypad", profile.keypad)
        .Finish();
}

std::u16string CatsUrl(std::u16string_view sessionId) {
    return RequestUrl(u"cats").Add(u"sessionid", sessionId).Finish();
}

std::u16string TagsUrl(std::u16string_view sessionId) {
    return RequestUrl(u"tags").Add(u"sessionid", sessionId).Finish();
}

std::u16string GetAppsUrl(std::u16string_view sessionId, const GetAppsOptions& o) {
    RequestUrl url(u"getapps");
    url.Add(u"sessionid", sessionId);
    if (o.cat != -1) url.AddInt(u"cat", o.cat);
    if (!o.query.empty()) url.Add(u"query", o.query, true);
    if (!o.in.empty()) url.Add(u"in", o.in);
    if (!o.tags.empty()) url.Add(u"tags", o.tags, true);
    if (o.count != -1) url.AddInt(u"count", o.count);
    if (o.page != -1) url.AddInt(u"page", o.page);
    if (!o.price.empty()) url.Add(u"price", o.price);
    if (!o.sort.empty()) url.Add(u"sort", o.sort);
    return url.Finish();
}

std::u16string AppDetailsBySysidUrl(std::u16string_view sessionId, std::u16string_view sysid) {
    return RequestUrl(u"appdetails")
        .Add(u"sessionid", sessionId)
        .Add(u"sysid", sysid)
        .AddLiteral(u"details", u"0")
        .Finish();
}

std::u16string AppDetailsUrl(std::u16string_view sessionId, int32_t appId) {
    return RequestUrl(u"appdetails")
        .Add(u"sessionid", sessionId)
        .AddInt(u"appid", appId)
        .AddLiteral(u"details", u"1")
        .Finish();
}

std::u16string ReviewsUrl(std::u16string_view sessionId, int32_t appId) {
    return RequestUrl(u"reviews").Add(u"sessionid", sessionId).AddInt(u"appid", appId).Finish();
}

std::u16string RateUrl(std::u16string_view sessionId, int32_t appId, int32_t rate,
                       std::u16string_view text) {
    RequestUrl url(u"rate");
    url.Add(u"sessionid", sessionId).AddInt(u"appid", appId).AddInt(u"rate", rate);
    if (!text.empty()) url.Add(u"text", text, true);
    return url.Finish();
}

std::u16string DownloadUrl(std::u16string_view sessionId, int32_t appId) {
    return RequestUrl(u"download").Add(u"sessionid", sessionId).AddInt(u"appid", appId).Finish();
}

std::u16string DownloadSizeUrl(std::u16string_view sessionId, int32_t appId) {
    return RequestUrl(u"download")
        .Add(u"sessionid", sessionId)
        .AddInt(u"appid", appId)
        .AddInt(u"getsize", 1)
        .Finish();
}

}  // namespace zentri::api
