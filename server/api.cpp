#include "server/api.h"

#include <fstream>
#include <sstream>

#include "server/package_names.h"
#include "server/read_file.h"
#include "server/result_code.h"

namespace zentri::server {

namespace {

constexpr size_t kMaxReviewText = 2000;

ApiReply XmlReply(const Answer& answer) {
    return {200, "text/xml; charset=UTF-8", answer.Xml(), answer.Code()};
}

// Refusals of "download" also carry an HTTP error status, so that a client saving the body to
// a file fails instead of keeping an XML page as its package.
ApiReply DownloadRefusal(int code) {
    ApiReply reply = CodeReply(code);
    reply.status = code == kSessionInvalid                     ? 403
                   : code == kUnknownApp || code == kNoPackage ? 404
                   : code == kServiceFailure                   ? 503
                                                               : 400;
    return reply;
}

void WriteCategories(pugi::xml_node parent, const std::vector<CategoryNode>& nodes) {
    for (const CategoryNode& c : nodes) {
        pugi::xml_node node = parent.append_child("category");
        SetText(node, "name", c.name);
        SetInt(node, "id", c.id);
        SetInt(node, "count", c.count);
        WriteCategories(node, c.children);
    }
}

}  // namespace

ApiReply CodeReply(int code) {
    return XmlReply(Answer(code));
}

Api::Api(CatalogueService& service) : service_(service) {
    handlers_ = {
        {"auth", {&Api::Auth, false}},
        {"actmail_resend", {&Api::ActmailResend, false}},
        {"reg", {&Api::Reg, false}},
        {"auth_restore", {&Api::AuthRestore, false}},
        {"config", {&Api::Config, true}},
        {"cats", {&Api::Cats, true}},
        {"tags", {&Api::Tags, true}},
        {"getapps", {&Api::GetApps, true}},
        {"appdetails", {&Api::AppDetails, true}},
        {"reviews", {&Api::Reviews, true}},
        {"rate", {&Api::Rate, true}},
        {"download", {&Api::Download, true}},
    };
}

ApiReply Api::Handle(std::string_view request, const Query& query, const std::string& base,
                     bool headersOnly) {
    auto it = handlers_.find(request);
    if (it == handlers_.end()) {
        ApiReply reply = CodeReply(kUnknownRequest);
        reply.status = 404;
        return reply;
    }
    bool isDownload = request == "download";
    try {
        Call call{query, base, headersOnly, {}};
        if (it->second.second) {
            auto id = query.Get("sessionid");
            int code = id ? service_.SessionStore().Resume(*id, call.session) : kMissingParameter;
            if (code != kOk) return isDownload ? DownloadRefusal(code) : CodeReply(code);
        }
        return it->second.first(*this, call);
    } catch (const std::exception&) {
        // Storage failed (disk full, database locked for too long): the transaction was rolled
        // back, so the client may simply try again.
        return isDownload ? DownloadRefusal(kServiceFailure) : CodeReply(kServiceFailure);
    }
}

ApiReply Api::Auth(Call& call) {
    auto login = call.query.Get("login");
    auto pass = call.query.Get("pass");
    if (!login || !pass) return CodeReply(kMissingParameter);
    int64_t account = 0;
    int code = service_.AccountStore().Authenticate(*login, *pass, account);
    if (code != kOk) return CodeReply(code);
    Answer answer(kOk);
    SetText(answer.Add("auth"), "id", service_.SessionStore().Create(account));
    return XmlReply(answer);
}

ApiReply Api::ActmailResend(Call& call) {
    auto login = call.query.Get("login");
    if (!login) return CodeReply(kMissingParameter);
    return CodeReply(service_.AccountStore().ResendActivation(*login, service_.PublicUrl()));
}

ApiReply Api::Reg(Call& call) {
    auto login = call.query.Get("login");
    auto pass = call.query.Get("pass");
    auto mail = call.query.Get("mail");
    if (!login || !pass || !mail) return CodeReply(kMissingParameter);
    return CodeReply(service_.AccountStore().Register(*login, *pass, *mail, service_.PublicUrl()));
}

ApiReply Api::AuthRestore(Call& call) {
    if (auto mail = call.query.Get("mail"))
        return CodeReply(service_.AccountStore().RequestReset(*mail, true, service_.PublicUrl()));
    if (auto login = call.query.Get("login"))
        return CodeReply(service_.AccountStore().RequestReset(*login, false, service_.PublicUrl()));
    return CodeReply(kMissingParameter);
}

ApiReply Api::Config(Call& call) {
    DeviceProfile profile;
    int code = ReadProfile(call.query, profile);
    if (code == kOk) service_.SessionStore().Configure(call.session, profile);
    return CodeReply(code);
}

ApiReply Api::Cats(Call& call) {
    const DeviceProfile* profile = call.session.configured ? &call.session.profile : nullptr;
    Answer answer(kOk);
    WriteCategories(answer.Add("cats"), service_.Apps().Categories(profile));
    return XmlReply(answer);
}

ApiReply Api::Tags(Call& call) {
    const DeviceProfile* profile = call.session.configured ? &call.session.profile : nullptr;
    Answer answer(kOk);
    pugi::xml_node tags = answer.Add("tags");
    for (const TagCount& tag : service_.Apps().Tags(profile)) {
        pugi::xml_node node = tags.append_child("tag");
        SetText(node, "name", tag.name);
        SetInt(node, "weight", tag.count);
    }
    return XmlReply(answer);
}

ApiReply Api::GetApps(Call& call) {
    const Query& q = call.query;
    AppFilter filter;
    if (auto cat = q.Get("cat")) {
        filter.category = ReadInteger(*cat);
        if (!filter.category) return CodeReply(kInvalidValue);
        if (!service_.Apps().HasCategory(*filter.category)) return CodeReply(kUnknownCategory);
    }
    filter.query = q.Get("query").value_or("");
    filter.in = q.Get("in").value_or("");
    filter.price = q.Get("price").value_or("");
    filter.sort = q.Get("sort").value_or("");
    filter.tags = SplitCommaList(q.Get("tags").value_or(""));
    if (filter.query.size() > 200) return CodeReply(kTextTooLong);
    if (!(filter.in.empty() || filter.in == "name" || filter.in == "com" || filter.in == "desc") ||
        !(filter.price.empty() || filter.price == "paid" || filter.price == "free") ||
        !(filter.sort.empty() || filter.sort == "rates" || filter.sort == "downloads" ||
          filter.sort == "views" || filter.sort == "createtime"))
        return CodeReply(kInvalidValue);
    for (auto [key, target] :
         {std::pair{"count", &filter.count}, std::pair{"page", &filter.page}}) {
        if (auto text = q.Get(key)) {
            *target = ReadInteger(*text);
            if (!*target || **target < 1 || **target > 100000) return CodeReply(kInvalidValue);
        }
    }
    const DeviceProfile* profile = call.session.configured ? &call.session.profile : nullptr;
    Answer answer(kOk);
    pugi::xml_node list = answer.Add("getapps");
    for (const AppRecord& app : service_.Apps().Apps(filter, profile))
        WriteApp(list.append_child("app"), app, call.base);
    return XmlReply(answer);
}

int Api::FindApp(const Query& query, std::optional<AppRecord>& app) {
    auto text = query.Get("appid");
    if (!text) return kMissingParameter;
    auto id = ReadInteger(*text);
    if (!id) return kInvalidValue;
    app = service_.Apps().AppById(*id);
    return app ? kOk : kUnknownApp;
}

ApiReply Api::AppDetails(Call& call) {
    auto detailsText = call.query.Get("details");
    if (!detailsText) return CodeReply(kMissingParameter);
    auto details = ReadFlag(*detailsText);
    if (!details) return CodeReply(kInvalidValue);

    std::optional<AppRecord> app;
    if (call.query.Has("appid")) {
        if (int code = FindApp(call.query, app); code != kOk) return CodeReply(code);
    } else if (auto sysid = call.query.Get("sysid")) {
        app = service_.Apps().AppBySysid(*sysid);
        if (!app) return CodeReply(kUnknownApp);
    } else {
        return CodeReply(kMissingParameter);
    }
    // Only the details page is a view; the client's background check of installed
    // applications (details=0) is not.
    if (*details && !call.headersOnly) {
        service_.Apps().CountView(app->id);
        ++app->views;
    }
    Answer answer(kOk);
    pugi::xml_node node = answer.Add("appdetails").append_child("app");
    WriteApp(node, *app, call.base);
    if (*details) {
        pugi::xml_node d = node.append_child("details");
        SetText(d, "desc", app->description);
        pugi::xml_node tags = d.append_child("tags");
        for (const std::string& tag : app->tags)
            SetText(tags.append_child("tag"), "name", tag);
        pugi::xml_node pictures = d.append_child("pictures");
        for (const std::string& path : service_.Apps().Pictures(app->id))
            SetText(pictures.append_child("picture"), "url", call.base + path);
    }
    return XmlReply(answer);
}

ApiReply Api::Reviews(Call& call) {
    std::optional<AppRecord> app;
    if (int code = FindApp(call.query, app); code != kOk) return CodeReply(code);
    Answer answer(kOk);
    pugi::xml_node list = answer.Add("reviews");
    for (const ReviewRecord& r : service_.Apps().Reviews(app->id)) {
        pugi::xml_node node = list.append_child("review");
        SetText(node, "login", r.login);
        SetText(node, "txt", r.txt);
        SetInt(node, "rate", r.rate);
    }
    return XmlReply(answer);
}

ApiReply Api::Rate(Call& call) {
    std::optional<AppRecord> app;
    if (int code = FindApp(call.query, app); code != kOk) return CodeReply(code);
    auto rateText = call.query.Get("rate");
    if (!rateText) return CodeReply(kMissingParameter);
    auto rate = ReadInteger(*rateText);
    if (!rate || *rate < 1 || *rate > 5) return CodeReply(kBadRating);
    std::string text = call.query.Get("text").value_or("");
    if (text.size() > kMaxReviewText) return CodeReply(kTextTooLong);
    service_.Apps().Rate(call.session.account, call.session.login, app->id, static_cast<int>(*rate),
                         CleanXmlText(text));
    return CodeReply(kOk);
}

ApiReply Api::Download(Call& call) {
    std::optional<AppRecord> app;
    if (int code = FindApp(call.query, app); code != kOk) return DownloadRefusal(code);
    bool sizeOnly = call.headersOnly;
    if (auto getsize = call.query.Get("getsize")) {
        auto flag = ReadFlag(*getsize);
        if (!flag) return DownloadRefusal(kInvalidValue);
        sizeOnly = sizeOnly || *flag;
    }
    std::filesystem::path file = service_.Asset(app->package);
    ApiReply reply{200, "application/vnd.ms-cab-compressed", {}, kOk};
    if (file.empty() || !ReadFile(file, reply.body)) return DownloadRefusal(kNoPackage);
    // The size question gets the same answer as the download (its Content-Length is what the
    // client reads) but is not counted; neither is a HEAD, which sends no package.
    if (!sizeOnly) service_.Apps().CountDownload(app->id);
    return reply;
}

void Api::WriteApp(pugi::xml_node node, const AppRecord& app, const std::string& base) {
    SetInt(node, "id", app.id);
    SetText(node, "name", app.name);
    SetText(node, "com", app.company);
    SetText(node, "icon", base + app.icon);
    SetText(node, "type", app.type);
    SetInt(node, "catid", app.catid);
    SetRate(node, "rate", app.Rate());
    SetInt(node, "rates", app.rates);
    SetInt(node, "reviews", app.reviews);
    SetInt(node, "views", app.views);
    SetInt(node, "downloads", app.downloads);
    SetText(node, "version", app.version);
    SetInt(node, "revision", app.revision);
    SetText(node, "sysid", app.sysid);
    SetText(node, "exe", app.exe);
    SetText(node, "install", app.install);
    SetInt(node, "createtime", app.createtime);
}

}  // namespace zentri::server
