#pragma once
// A catalogue service in-process for the tests: a fresh data folder, the built assets, a clock
// the test moves, the fastest password hashing, and the HTTP front on a free loopback port.
// Requests are sent byte for byte as given, as the client sends them (no encoding added).

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "server/clock.h"
#include "server/http_frontend.h"
#include "server/service.h"
#include "tests/server/answer_checker.h"

namespace zentri::server::test {

// The folder the build writes the catalogue's assets to.
std::filesystem::path AssetsDir();

// A new empty folder, removed with its contents at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct Reply {
    int status = 0;  // 0 when the request failed
    std::string body;
    std::string contentLength;
};

class ServiceTest : public ::testing::Test {
  protected:
    static constexpr int64_t kIdle = 600;

    void SetUp() override;
    void TearDown() override;

    // GET of "/<target>" exactly as written.
    Reply Get(const std::string& target);
    // "auth" for the demo account; the session id.
    std::string SignIn(const std::string& login = "demo", const std::string& pass = "demo1234");
    // "config" with the given profile parameters (everything after the session id).
    int Configure(const std::string& session, const std::string& profile);
    static std::string Profile(const std::string& osver, int w, int h, const std::string& features);

    // The answer of a request read by the client's rules; fails the test on any problem.
    int CodeOf(const std::string& target);
    std::vector<ClientApp> Apps(const std::string& target, int expectCode = 0);

    // The front's connection limits; a fixture may change them before SetUp.
    ConnectionLimits limits;
    // Every answer read through this checker; TearDown fails on any problem it listed.
    AnswerChecker checker;
    TempFolder data;
    ManualClock clock;
    std::unique_ptr<CatalogueService> service;
    std::unique_ptr<HttpFrontend> http;
    int port = 0;
};

}  // namespace zentri::server::test
