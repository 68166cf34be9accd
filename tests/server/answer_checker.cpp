#include "tests/server/answer_checker.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

#include <pugixml.hpp>

#include "app/catalogue.h"
#include "manager/app.h"
#include "net/xml_response.h"
#include "net/xml_response_appdetails.h"
#include "net/xml_response_auth.h"
#include "net/xml_response_cats.h"
#include "net/xml_response_getapps.h"
#include "net/xml_response_reviews.h"
#include "net/xml_response_tags.h"
#include "platform/text.h"

namespace zentri::server::test {

namespace {

bool WholeInt(const char* text, int64_t low, int64_t high) {
    std::string_view s(text);
    int64_t value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && error == std::errc{} && end == s.data() + s.size() && value >= low &&
           value <= high;
}

// The client's readers: leading digits, 0 when there are none.
int32_t ClientInt(const char* text) {
    long long v = std::strtoll(text, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// Element reading with the checker's own strictness on top of the client's rules.
struct Reader {
    std::vector<std::string>& problems;

    bool Text(pugi::xml_node n, const char* name, std::string& out) {
        pugi::xml_attribute a = n.attribute(name);
        if (!a) return false;
        out = a.value();
        return true;
    }
    bool Int(pugi::xml_node n, const char* name, int32_t& out) {
        pugi::xml_attribute a = n.attribute(name);
        if (!a) return false;
        if (!WholeInt(a.value(), INT32_MIN, INT32_MAX))
            problems.push_back(std::string(n.name()) + " " + name + "=\"" + a.value() +
                               "\" is not an integer");
        out = ClientInt(a.value());
        return true;
    }
    bool Unsigned(pugi::xml_node n, const char* name, uint32_t& out) {
        pugi::xml_attribute a = n.attribute(name);
        if (!a) return false;
        if (!WholeInt(a.value(), 0, UINT32_MAX))
            problems.push_back(std::string(name) + "=\"" + a.value() + "\" is not unsigned 32-bit");
        out = static_cast<uint32_t>(std::strtoull(a.value(), nullptr, 10));
        return true;
    }
    bool Double(pugi::xml_node n, const char* name, double& out) {
        pugi::xml_attribute a = n.attribute(name);
        if (!a) return false;
        char* end = nullptr;
        out = std::strtod(a.value(), &end);
        if (!*a.value() || *end || !std::isfinite(out))
            problems.push_back(std::string(name) + "=\"" + a.value() + "\" is not a number");
        return true;
    }
    void Missing(pugi::xml_node n, const char* what) {
        problems.push_back(std::string(n.name()) + ": " + what);
    }

    // The application rule: every attribute present is stored; true when all required were.
    bool App(pugi::xml_node n, ClientApp& a) {
        bool ok = true;
        auto need = [&](bool present, const char* name) {
            if (!present) Missing(n, (std::string("no ") + name).c_str());
            ok = ok && present;
        };
        need(Int(n, "id", a.id), "id");
        need(Text(n, "name", a.name), "name");
        need(Text(n, "com", a.com), "com");
        need(Text(n, "icon", a.icon), "icon");
        need(Text(n, "type", a.type), "type");
        need(Int(n, "catid", a.catid), "catid");
        need(Double(n, "rate", a.rate), "rate");
        need(Int(n, "rates", a.rates), "rates");
        need(Int(n, "reviews", a.reviews), "reviews");
        need(Int(n, "views", a.views), "views");
        need(Int(n, "downloads", a.downloads), "downloads");
        need(Text(n, "version", a.version), "version");
        need(Int(n, "revision", a.revision), "revision");
        need(Text(n, "sysid", a.sysid), "sysid");
        need(Text(n, "exe", a.exe), "exe");
        need(Text(n, "install", a.install), "install");
        if (!Unsigned(n, "createtime", a.createtime)) Missing(n, "no createtime");
        return ok;
    }

    bool Category(pugi::xml_node n, ClientCategory& c) {
        if (!Text(n, "name", c.name) || !Int(n, "id", c.id) || !Int(n, "count", c.count)) {
            Missing(n, "name, id and count are required");
            return false;
        }
        for (pugi::xml_node child : n.children()) {
            if (child.type() != pugi::node_element) continue;
            c.children.emplace_back();
            if (!Category(child, c.children.back())) return false;
        }
        return true;
    }
};

// The common part: cut after the last ">", parse, "kestro-api", "result", "code". Returns the
// code, or 999; on 0, `body` is called with the root and false from it gives 999.
int Parse(const std::string& text, std::vector<std::string>& problems,
          const std::function<bool(pugi::xml_node)>& body) {
    size_t last = text.rfind('>');
    std::string cut = last == std::string::npos ? "" : text.substr(0, last + 1);
    pugi::xml_document doc;
    if (!doc.load_string(cut.c_str())) {
        problems.push_back("not well-formed XML");
        return 999;
    }
    pugi::xml_node root = doc.child("kestro-api");
    pugi::xml_node result = root.child("result");
    if (!root || !result || !result.attribute("code")) {
        problems.push_back("no kestro-api, result or code");
        return 999;
    }
    const char* code = result.attribute("code").value();
    if (!WholeInt(code, INT32_MIN, INT32_MAX)) problems.push_back("code is not an integer");
    int value = ClientInt(code);
    if (value != 0) return value;
    return body(root) ? 0 : 999;
}

// The client's own answer classes read every answer too; what they make of it must be what
// the checker read.
std::string U8(const std::u16string& s) {
    return platform::Utf16ToUtf8(s);
}

void Expect(std::vector<std::string>& problems, bool same, const std::string& what) {
    if (!same) problems.push_back("the client's parser reads " + what + " differently");
}

void CompareApp(std::vector<std::string>& problems, const App& got, const ClientApp& want) {
    bool same = got.id == want.id && U8(got.name) == want.name && U8(got.com) == want.com &&
                U8(got.icon) == want.icon && U8(got.type) == want.type && got.catid == want.catid &&
                got.rate == want.rate && got.rates == want.rates && got.reviews == want.reviews &&
                got.views == want.views && got.downloads == want.downloads &&
                U8(got.version) == want.version && got.revision == want.revision &&
                U8(got.sysid) == want.sysid && U8(got.exe) == want.exe &&
                U8(got.install) == want.install && got.createtime == want.createtime;
    Expect(problems, same, "application " + want.sysid);
}

bool SameCategories(const std::vector<shared_ptr<Category>>& got,
                    const std::vector<ClientCategory>& want, const Category* parent) {
    if (got.size() != want.size()) return false;
    for (size_t i = 0; i < got.size(); ++i) {
        const Category& g = *got[i];
        if (g.parent != parent || g.id != want[i].id || g.count != want[i].count ||
            U8(g.name) != want[i].name || !SameCategories(g.children, want[i].children, &g))
            return false;
    }
    return true;
}

}  // namespace

int AnswerChecker::Code(const std::string& body) {
    int code = Parse(body, problems, [](pugi::xml_node) { return true; });
    Expect(problems, XMLResponse().Parse(body) == code, "the result code");
    return code;
}

int AnswerChecker::Auth(const std::string& body, std::string& sessionId) {
    std::u16string clientId;
    int clientCode = XMLResponse_Auth(clientId).Parse(body);
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        pugi::xml_attribute id = root.child("auth").attribute("id");
        if (!id) problems.push_back("no auth id");
        sessionId = id.value();
        return static_cast<bool>(id);
    });
    Expect(problems, clientCode == code && (code != 0 || U8(clientId) == sessionId),
           "the sign-in answer");
    return code;
}

int AnswerChecker::Cats(const std::string& body, std::vector<ClientCategory>& roots) {
    Reader reader{problems};
    shared_ptr<Category> clientRoot(new Category);
    int clientCode = XMLResponse_Cats(*clientRoot).Parse(body);
    size_t before = roots.size();
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        pugi::xml_node cats = root.child("cats");
        if (!cats) {
            problems.push_back("no cats");
            return false;
        }
        for (pugi::xml_node child : cats.children()) {
            if (child.type() != pugi::node_element) continue;
            roots.emplace_back();
            if (!reader.Category(child, roots.back())) return false;
        }
        return true;
    });
    std::vector<ClientCategory> added(roots.begin() + static_cast<std::ptrdiff_t>(before),
                                      roots.end());
    Expect(problems,
           clientCode == code &&
               (code != 0 || SameCategories(clientRoot->children, added, clientRoot.get())),
           "the category tree");
    return code;
}

int AnswerChecker::Tags(const std::string& body, std::vector<ClientTag>& tags) {
    Reader reader{problems};
    std::vector<Tag> clientTags;
    int clientCode = XMLResponse_Tags(clientTags).Parse(body);
    size_t before = tags.size();
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        pugi::xml_node list = root.child("tags");
        if (!list) {
            problems.push_back("no tags");
            return false;
        }
        for (pugi::xml_node child : list.children()) {
            ClientTag tag;
            if (!reader.Text(child, "name", tag.name) || !reader.Int(child, "weight", tag.weight)) {
                reader.Missing(child, "name and weight are required");
                return false;
            }
            tags.push_back(tag);
        }
        return true;
    });
    bool same = clientCode == code && clientTags.size() == tags.size() - before;
    for (size_t i = 0; same && i < clientTags.size(); ++i)
        same = U8(clientTags[i].name) == tags[before + i].name &&
               clientTags[i].weight == tags[before + i].weight;
    Expect(problems, same, "the tag list");
    return code;
}

int AnswerChecker::GetApps(const std::string& body, std::vector<ClientApp>& apps) {
    Reader reader{problems};
    std::vector<shared_ptr<App>> clientApps;
    int clientCode = XMLResponse_GetApps(clientApps).Parse(body);
    size_t before = apps.size();
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        pugi::xml_node list = root.child("getapps");
        if (!list) problems.push_back("no getapps (the client reads an empty list)");
        for (pugi::xml_node child : list.children()) {
            apps.emplace_back();
            reader.App(child, apps.back());  // kept even when incomplete, as the client does
        }
        return true;
    });
    Expect(problems, clientCode == code && clientApps.size() == apps.size() - before,
           "the application list");
    for (size_t i = 0; i < clientApps.size() && before + i < apps.size(); ++i)
        CompareApp(problems, *clientApps[i], apps[before + i]);
    return code;
}

int AnswerChecker::AppDetails(const std::string& body, ClientApp& app, ClientDescription* details) {
    Reader reader{problems};
    shared_ptr<App> clientApp(new App);
    AppDescription clientDescription;
    int clientCode =
        XMLResponse_AppDetails(*clientApp, details ? &clientDescription : nullptr).Parse(body);
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        pugi::xml_node node = root.child("appdetails").child("app");
        if (!node) {
            problems.push_back("no appdetails/app");
            return false;
        }
        if (!reader.App(node, app)) return false;
        if (!details) return true;
        pugi::xml_node d = node.child("details");
        details->tags.clear();
        details->pictures.clear();
        for (pugi::xml_node tag : d.child("tags").children()) {
            if (!tag.attribute("name")) {
                reader.Missing(tag, "no name");
                break;
            }
            details->tags.push_back(tag.attribute("name").value());
        }
        for (pugi::xml_node picture : d.child("pictures").children()) {
            if (!picture.attribute("url")) {
                reader.Missing(picture, "no url");
                break;
            }
            details->pictures.push_back(picture.attribute("url").value());
        }
        if (!reader.Text(d, "desc", details->desc)) {
            problems.push_back("no details desc");
            return false;
        }
        return true;
    });
    Expect(problems, clientCode == code, "the details answer's code");
    if (code == 0) CompareApp(problems, *clientApp, app);
    if (code == 0 && details) {
        std::vector<std::string> pictures, tags;
        for (const auto& p : clientDescription.pictures)
            pictures.push_back(U8(p));
        for (const auto& t : clientDescription.tags)
            tags.push_back(U8(t));
        Expect(problems,
               U8(clientDescription.desc) == details->desc && pictures == details->pictures &&
                   tags == details->tags,
               "the description");
    }
    return code;
}

int AnswerChecker::Reviews(const std::string& body, std::vector<ClientReview>& reviews) {
    Reader reader{problems};
    std::vector<Review> clientReviews;
    int clientCode = XMLResponse_Reviews(clientReviews).Parse(body);
    size_t before = reviews.size();
    int code = Parse(body, problems, [&](pugi::xml_node root) {
        for (pugi::xml_node child : root.child("reviews").children()) {
            ClientReview r;
            if (!reader.Text(child, "login", r.login) || !reader.Text(child, "txt", r.txt) ||
                !reader.Int(child, "rate", r.rate)) {
                reader.Missing(child, "login, txt and rate are required");
                return false;
            }
            reviews.push_back(r);
        }
        if (!root.child("reviews"))
            problems.push_back("no reviews (the client reads an empty list)");
        return true;
    });
    bool same = clientCode == code && clientReviews.size() == reviews.size() - before;
    for (size_t i = 0; same && i < clientReviews.size(); ++i) {
        const ClientReview& want = reviews[before + i];
        same = U8(clientReviews[i].login) == want.login && U8(clientReviews[i].txt) == want.txt &&
               clientReviews[i].rate == want.rate;
    }
    Expect(problems, same, "the reviews");
    return code;
}

}  // namespace zentri::server::test
