#include "tests/server/service_fixture.h"

#include <stdlib.h>

namespace zentri::server::test {

std::filesystem::path AssetsDir() {
    return ZENTRI_CATALOGUE_ASSETS;
}

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zentri-catalogue-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

void ServiceTest::SetUp() {
    ServiceOptions options;
    options.dataDir = data.Path() / "data";
    options.assetsDir = AssetsDir();
    options.hashCost = HashCost::Minimal;
    options.sessionIdleSeconds = kIdle;
    options.clock = &clock;
    service = std::make_unique<CatalogueService>(options);
    http = std::make_unique<HttpFrontend>(*service, limits);
    port = http->Bind("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    http->Start();
}

void ServiceTest::TearDown() {
    http.reset();
    EXPECT_TRUE(checker.problems.empty()) << "first problem: " << checker.problems.front();
}

Reply ServiceTest::Get(const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    client.set_read_timeout(60, 0);
    auto result = client.Get(("/" + target).c_str());
    if (!result) return {};
    return {result->status, result->body, result->get_header_value("Content-Length")};
}

std::string ServiceTest::SignIn(const std::string& login, const std::string& pass) {
    std::string id;
    EXPECT_EQ(checker.Auth(Get("auth.php?login=" + login + "&pass=" + pass).body, id), 0);
    return id;
}

std::string ServiceTest::Profile(const std::string& osver, int w, int h,
                                 const std::string& features) {
    std::string text =
        "locale=en&osver=" + osver + "&w=" + std::to_string(w) + "&h=" + std::to_string(h);
    for (const char* f :
         {"irda", "bt", "wifi", "phone", "gl", "cam", "cam3g", "accel", "gps", "keypad"})
        text +=
            std::string("&") + f + "=" +
            ((" " + features + " ").find(std::string(" ") + f + " ") != std::string::npos ? "1"
                                                                                          : "0");
    return text;
}

int ServiceTest::Configure(const std::string& session, const std::string& profile) {
    return CodeOf("config.php?sessionid=" + session + "&" + profile);
}

int ServiceTest::CodeOf(const std::string& target) {
    return checker.Code(Get(target).body);
}

std::vector<ClientApp> ServiceTest::Apps(const std::string& target, int expectCode) {
    std::vector<ClientApp> apps;
    EXPECT_EQ(checker.GetApps(Get(target).body, apps), expectCode) << target;
    return apps;
}

}  // namespace zentri::server::test
