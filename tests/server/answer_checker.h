#pragma once
// Reads the service's answers by the client's parsing rules (root "kestro-api", "result" with
// "code", and the data elements with their required attributes and number kinds) and fills
// plain records the way the client's parsers fill theirs. It is stricter than the client in one
// way: whatever the client would tolerate but a correct answer never contains (a missing
// attribute the client can do without, a number the client would silently read as 0, an
// application the list keeps although it failed) is listed in `problems`. Every answer is also
// handed to the client's own answer classes, and any difference from what the checker read is
// listed too.

#include <cstdint>
#include <string>
#include <vector>

namespace zentri::server::test {

struct ClientApp {
    int32_t id = 0, catid = 0, rates = 0, reviews = 0, views = 0, downloads = 0, revision = 0;
    std::string name, com, icon, type, version, sysid, exe, install;
    double rate = 0;
    uint32_t createtime = 0;
};

struct ClientCategory {
    int32_t id = 0, count = 0;
    std::string name;
    std::vector<ClientCategory> children;
};

struct ClientTag {
    std::string name;
    int32_t weight = 0;
};

struct ClientReview {
    std::string login, txt;
    int32_t rate = 0;
};

struct ClientDescription {
    std::string desc;
    std::vector<std::string> pictures, tags;
};

class AnswerChecker {
  public:
    // Each returns the code the client computes: the server's code, or 999 when the answer is
    // unreadable or its data part does not parse.
    int Code(const std::string& body);
    int Auth(const std::string& body, std::string& sessionId);
    int Cats(const std::string& body, std::vector<ClientCategory>& roots);
    int Tags(const std::string& body, std::vector<ClientTag>& tags);
    int GetApps(const std::string& body, std::vector<ClientApp>& apps);
    int AppDetails(const std::string& body, ClientApp& app, ClientDescription* details);
    int Reviews(const std::string& body, std::vector<ClientReview>& reviews);

    // Empty when every answer read so far was exactly right.
    std::vector<std::string> problems;
};

}  // namespace zentri::server::test
