// Bad input and load: every request with missing, malformed or hostile parameters gets a
// well-formed answer with a refusal code (never an HTTP 500), and many clients at once are all
// served correctly.

#include <atomic>
#include <future>
#include <thread>

#include "server/result_code.h"
#include "server/seed.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::test {
namespace {

class Robustness : public ServiceTest {};

TEST_F(Robustness, HostileParametersGetRefusalsNotFailures) {
    std::string s = "sessionid=" + SignIn();
    const std::string huge(3000, 'x');
    const std::vector<std::string> targets = {
        "auth.php",
        "auth.php?",
        "auth.php?&&&=&=",
        "auth.php?login&pass",
        "auth.php?login=%&pass=%2",
        "auth.php?login=" + huge + "&pass=" + huge,
        "auth.php?login=%00%FF%C3%28&pass=\xC3\x28\xFF",
        "reg.php?login=%01%02&pass=x&mail=<b>@x.org",
        "reg.php?login=ok_login&pass=secret1&mail=a\"b@x.org",
        "config.php?" + s,
        "config.php?" + s + "&locale=en&osver=wm6ppc&w=-1&h=320",
        "config.php?" + s + "&locale=en&osver=wm6ppc&w=99999999999999999999&h=320",
        "config.php?" + s + "&locale=en&osver=wm6ppc&w=240&h=320&irda=2",
        "getapps.php?" + s + "&cat=1e3",
        "getapps.php?" + s + "&count=9223372036854775807",
        "getapps.php?" + s + "&query=" + huge,
        "getapps.php?" + s + "&tags=,,,",
        "getapps.php?" + s + "&query=%25%27%22;DROP%20TABLE%20apps;--",
        "appdetails.php?" + s + "&appid=-1&details=1",
        "appdetails.php?" + s + "&sysid=&details=0",
        "reviews.php?" + s + "&appid=",
        "rate.php?" + s + "&appid=2&rate=3&text=\xFF\xFE",
        "download.php?" + s + "&appid=2&getsize=",
        "nothing.php?" + s,
    };
    for (const std::string& target : targets) {
        Reply reply = Get(target);
        ASSERT_NE(reply.status, 0) << target.substr(0, 80);
        EXPECT_LT(reply.status, 500) << target.substr(0, 80);
        int code = checker.Code(reply.body);
        EXPECT_NE(code, 999) << target.substr(0, 80) << "\n"
                             << reply.status << " " << reply.body.substr(0, 200);
    }
    // An address beyond what the HTTP layer reads is refused there, without harm.
    Reply tooLong = Get("getapps.php?" + s + "&query=" + std::string(20000, 'x'));
    EXPECT_EQ(tooLong.status, 414);

    // The catalogue is intact afterwards, and text that arrived as bad UTF-8 reads as U+FFFD.
    EXPECT_EQ(Apps("getapps.php?sessionid=" + SignIn()).size(), 66u);
    std::vector<ClientReview> reviews;
    ASSERT_EQ(checker.Reviews(Get("reviews.php?" + s + "&appid=2").body, reviews), kOk);
    EXPECT_EQ(reviews.front().txt, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(Robustness, UnknownRequestsAndPages) {
    Reply unknown = Get("nothing.php?sessionid=x");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(checker.Code(unknown.body), kUnknownRequest);
    for (const char* page :
         {"nowhere", "media/icons/../../catalogue.xml", "media/icons/9999.png", "packages/..cab",
          "packages/missing.cab", "activate", "reset?token=00"})
        EXPECT_EQ(Get(page).status, 404) << page;
    for (const char* page : {"about", "help", ""}) {
        Reply reply = Get(page);
        EXPECT_EQ(reply.status, 200) << page;
        EXPECT_NE(reply.body.find("<html"), std::string::npos);
    }
}

TEST_F(Robustness, ManyClientsAtOnce) {
    constexpr int kClients = 8, kRounds = 12;
    std::vector<std::string> sessions;
    for (int i = 0; i < kClients; ++i) {
        std::string login = "client" + std::to_string(i);
        ASSERT_EQ(service->AccountStore().Add(login, "secret1", login + "@example.org", true), kOk);
        sessions.push_back(SignIn(login, "secret1"));
    }
    int64_t viewsBefore = service->Apps().AppById(20)->views;
    int64_t ratesBefore = service->Apps().AppById(20)->rates;
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&, c] {
            // Each thread reads with its own checker; the fixture's is not shared.
            AnswerChecker own;
            std::string s = "sessionid=" + sessions[c];
            for (int round = 0; round < kRounds; ++round) {
                std::vector<ClientApp> apps;
                ClientApp app;
                ClientDescription details;
                bool ok = own.GetApps(Get("getapps.php?" + s + "&sort=views").body, apps) == 0 &&
                          apps.size() == 66u &&
                          own.AppDetails(Get("appdetails.php?" + s + "&appid=20&details=1").body,
                                         app, &details) == 0 &&
                          own.Code(Get("rate.php?" + s +
                                       "&appid=20&rate=" + std::to_string(1 + round % 5))
                                       .body) == 0;
                if (!ok || !own.problems.empty()) ++failures;
            }
        });
    for (auto& t : clients)
        t.join();
    EXPECT_EQ(failures, 0);
    auto app = service->Apps().AppById(20);
    EXPECT_EQ(app->views, viewsBefore + kClients * kRounds);
    // One rating per account, whatever the order in which they arrived.
    EXPECT_EQ(app->rates, ratesBefore + kClients);
}

// A stop signal may arrive right after start-up, before the serving loop runs; it must still
// end the loop instead of being lost (the service would then never stop).
TEST_F(Robustness, StopBeforeServingStartsIsNotLost) {
    HttpFrontend early(*service);
    ASSERT_GT(early.Bind("127.0.0.1", 0), 0);
    early.Stop();
    auto served = std::async(std::launch::async, [&] { return early.Run(); });
    // Only a guard against a hang: Run returns at once when it works.
    bool ended = served.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    EXPECT_TRUE(ended);
    if (!ended) early.Stop();  // the loop runs now, so this one reaches it
    EXPECT_TRUE(served.get());
}

// Two processes starting on a new data folder at once (the service and an account command)
// both find it unseeded; the one that seeds second must leave the first one's catalogue alone and
// start, not fail on the rows already there.
TEST_F(Robustness, SeedingASeededDatabaseKeepsItsCatalogue) {
    std::string s = "sessionid=" + SignIn();
    ASSERT_EQ(CodeOf("rate.php?" + s + "&appid=2&rate=5&text=mine"), kOk);
    Database second(data.Path() / "data" / "catalogue.sqlite3");
    std::string error;
    EXPECT_TRUE(
        LoadSeed(second, HashCost::Minimal, clock.Now(), AssetsDir() / "catalogue.xml", error))
        << error;
    EXPECT_EQ(Apps("getapps.php?" + s).size(), 66u);
    std::vector<ClientReview> reviews;
    ASSERT_EQ(checker.Reviews(Get("reviews.php?" + s + "&appid=2").body, reviews), kOk);
    EXPECT_EQ(reviews.front().txt, "mine");
}

}  // namespace
}  // namespace zentri::server::test
