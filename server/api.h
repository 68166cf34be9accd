#pragma once
// The requests of the catalogue API ("<name>.php?<query>"), each turned into an answer: an XML
// document under "kestro-api" with its result code, or a package file for "download". Every
// failure becomes a result code; nothing here throws.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "server/answer.h"
#include "server/catalogue.h"
#include "server/query.h"
#include "server/service.h"

namespace zentri::server {

struct ApiReply {
    int status = 200;  // HTTP status
    std::string contentType = "text/xml; charset=UTF-8";
    std::string body;
    int code = 0;  // the result code, also for package answers
};

class Api {
  public:
    explicit Api(CatalogueService& service);

    // `base` is the service's address as the client reached it, ending in "/"; the picture
    // addresses in the answers start with it (mail links use the service's public address).
    // `headersOnly` is a HEAD request: answered alike, but it is neither a download nor a view.
    ApiReply Handle(std::string_view request, const Query& query, const std::string& base,
                    bool headersOnly = false);

  private:
    struct Call {
        const Query& query;
        const std::string& base;
        bool headersOnly;
        Session session;
    };
    using Handler = std::function<ApiReply(Api&, Call&)>;

    ApiReply Auth(Call& call);
    ApiReply ActmailResend(Call& call);
    ApiReply Reg(Call& call);
    ApiReply AuthRestore(Call& call);
    ApiReply Config(Call& call);
    ApiReply Cats(Call& call);
    ApiReply Tags(Call& call);
    ApiReply GetApps(Call& call);
    ApiReply AppDetails(Call& call);
    ApiReply Reviews(Call& call);
    ApiReply Rate(Call& call);
    ApiReply Download(Call& call);

    // The application named by "appid": 0 and the record, or the refusal.
    int FindApp(const Query& query, std::optional<AppRecord>& app);
    void WriteApp(pugi::xml_node node, const AppRecord& app, const std::string& base);

    CatalogueService& service_;
    std::map<std::string, std::pair<Handler, bool>, std::less<>>
        handlers_;  // bool: needs a session
};

// An XML reply with only a code.
ApiReply CodeReply(int code);

}  // namespace zentri::server
