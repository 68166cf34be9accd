// Signs in and walks the catalogue through the real transport against an HTTP server on
// loopback that answers as the service does and records what it was asked.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/kestro.h"
#include "manager/app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/inet_manager.h"
#include "net/xml_response.h"
#include "net/xml_response_appdetails.h"
#include "net/xml_response_auth.h"
#include "net/xml_response_cats.h"
#include "net/xml_response_getapps.h"
#include "net/xml_response_reviews.h"
#include "net/xml_response_tags.h"
#include "platform/paths.h"
#include "tests/core/session_support.h"
#include "tests/e2e/exchange.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSession = "c0ffee42";

std::string Answer(const std::string& data, int code = 0) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<kestro-api>\n  <result code=\"" +
           std::to_string(code) + "\"/>\n" + data + "</kestro-api>\n";
}

const char* kNotes =
    R"(id="17" name="Pocket Notes" com="Acme" icon="/icons/17.png" type="free" catid="11" )"
    R"(rate="4.5" rates="12" reviews="2" views="900" downloads="321" version="1.2" revision="6" )"
    R"(sysid="Acme Pocket Notes" exe="notes.exe" install="notes.cab" createtime="1262304000")";
const char* kSudoku =
    R"(id="18" name="Sudoku" com="Brainy" icon="/icons/18.png" type="paid" catid="11" )"
    R"(rate="3" rates="4" reviews="0" views="80" downloads="20" version="2.0" revision="3" )"
    R"(sysid="Brainy Sudoku" exe="" install="/files/sudoku.cab")";

// The service's stand-in: canned answers of the real form, given only to the right session.
class FakeService {
  public:
    FakeService() {
        for (int i = 0; i < 150000; ++i)
            cab_ += static_cast<char>((i * 7919) % 251);
        server_.Get(R"(/(\w+)\.php)", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                targets_.push_back(req.target);
            }
            Respond(req.matches[1], req, res);
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() only ends a running server; see the destructor.
        while (!server_.is_running())
            std::this_thread::yield();
    }
    ~FakeService() {
        server_.stop();
        thread_.join();
    }

    int Port() const { return port_; }
    const std::string& Cab() const { return cab_; }
    std::vector<std::string> Targets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }

  private:
    void Respond(const std::string& name, const httplib::Request& req, httplib::Response& res) {
        const char* xml = "text/xml; charset=utf-8";
        if (name == "auth") {
            bool ok =
                req.get_param_value("login") == "joe" && req.get_param_value("pass") == "p+ss/w rd";
            res.set_content(
                ok ? Answer(std::string("<auth id=\"") + kSession + "\"/>\n") : Answer("", 401),
                xml);
            return;
        }
        if (req.get_param_value("sessionid") != kSession) {
            res.set_content(Answer("", 203), xml);
            return;
        }
        if (name == "config") {
            res.set_content(Answer(""), xml);
        } else if (name == "cats") {
            res.set_content(Answer(R"(  <cats>
    <cat id="1" name="Games" count="2">
      <cat id="11" name="Puzzle" count="2"/>
    </cat>
    <cat id="2" name="Office" count="1"/>
  </cats>
)"),
                            xml);
        } else if (name == "getapps") {
            res.set_content(Answer(std::string("  <getapps>\n    <app ") + kNotes +
                                   "/>\n    <app " + kSudoku + "/>\n  </getapps>\n"),
                            xml);
        } else if (name == "appdetails") {
            res.set_content(Answer(std::string("  <appdetails>\n    <app ") + kNotes +
                                   R"(>
      <details desc="Notes on the go, synchronised.">
        <tags><tag name="office"/><tag name="notes"/></tags>
        <pictures><picture url="/shots/17-1.png"/><picture url="/shots/17-2.png"/></pictures>
      </details>
    </app>
  </appdetails>
)"),
                            xml);
        } else if (name == "reviews") {
            res.set_content(Answer(R"(  <reviews>
    <review login="ann" txt="Does what it says" rate="5"/>
    <review login="bob" txt="Needs sync over Bluetooth" rate="4"/>
  </reviews>
)"),
                            xml);
        } else if (name == "rate") {
            res.set_content(Answer(""), xml);
        } else if (name == "download") {
            res.set_content(cab_, "application/vnd.ms-cab-compressed");
        } else {
            res.status = 404;
        }
    }

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::string cab_;
    std::mutex mutex_;
    std::vector<std::string> targets_;
};

using test::Call;
using test::Exchange;

class SessionEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        test::LoadLocalization(device, "http://127.0.0.1:" + std::to_string(service.Port()) + "/");
        test::ResetSession();
        Kestro::Instance().app = &app;
    }
    void TearDown() override {
        InetManager::Instance().Shutdown();
        test::ResetSession();
    }

    test::TempDevice device;
    test::ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
    FakeService service;
    test::RecordingApp app;
};

TEST_F(SessionEndToEnd, SignsInAndWalksTheCatalogueDownToADownload) {
    Kestro& k = Kestro::Instance();

    // Sign in.
    std::u16string session;
    XMLResponse_Auth auth(session);
    EXPECT_EQ(Call([] { return api::Send(api::AuthUrl(u"joe", u"p+ss/w rd")); }, auth), 0);
    ASSERT_EQ(session, u"c0ffee42");
    k.SetSessionId(session);

    // Configure: the old catalogue goes.
    k.profile = DeviceProfile{u"wm65ppc", 480,  640,   false, false, true, true,
                              false,      true, false, false, false, true};
    k.GetRootCategory().children.push_back(MakeShared<Category>());
    k.tagList.push_back({u"stale", 1});
    XMLResponse_Config config;
    EXPECT_EQ(Call([&] { return k.BuildConfigRequest(); }, config), 0);
    EXPECT_TRUE(k.GetRootCategory().children.empty());
    EXPECT_TRUE(k.tagList.empty());

    // Categories into the session's tree.
    XMLResponse_Cats cats(k.GetRootCategory());
    EXPECT_EQ(Call([&] { return k.BuildCatsRequest(); }, cats), 0);
    Category& root = k.GetRootCategory();
    ASSERT_EQ(root.children.size(), 2u);
    ASSERT_EQ(root.children[0]->children.size(), 1u);
    Category& puzzle = *root.children[0]->children[0];
    EXPECT_EQ(puzzle.name, u"Puzzle");
    EXPECT_EQ(puzzle.parent, root.children[0].get());

    // The applications of a category.
    std::vector<shared_ptr<App>> apps;
    XMLResponse_GetApps getapps(apps);
    api::GetAppsOptions options;
    options.cat = puzzle.id;
    EXPECT_EQ(Call([&] { return api::Send(api::GetAppsUrl(session, options)); }, getapps), 0);
    ASSERT_EQ(apps.size(), 2u);
    App& notes = *apps[0];
    EXPECT_EQ(notes.name, u"Pocket Notes");
    EXPECT_EQ(notes.sysid, u"Acme Pocket Notes");
    EXPECT_DOUBLE_EQ(notes.rate, 4.5);
    EXPECT_EQ(apps[1]->install, u"/files/sudoku.cab");
    EXPECT_EQ(apps[1]->createtime, 0u);

    // Its details with the description, its reviews, a rating.
    App details;
    AppDescription description;
    XMLResponse_AppDetails appdetails(details, &description);
    EXPECT_EQ(Call([&] { return api::Send(api::AppDetailsUrl(session, notes.id)); }, appdetails),
              0);
    EXPECT_EQ(details.revision, 6);
    EXPECT_EQ(description.desc, u"Notes on the go, synchronised.");
    EXPECT_EQ(description.tags, (std::vector<std::u16string>{u"office", u"notes"}));
    EXPECT_EQ(description.pictures,
              (std::vector<std::u16string>{u"/shots/17-1.png", u"/shots/17-2.png"}));

    std::vector<Review> reviews;
    XMLResponse_Reviews reviewsParser(reviews);
    EXPECT_EQ(Call([&] { return api::Send(api::ReviewsUrl(session, notes.id)); }, reviewsParser),
              0);
    ASSERT_EQ(reviews.size(), 2u);
    EXPECT_EQ(reviews[1].txt, u"Needs sync over Bluetooth");
    EXPECT_EQ(reviews[1].rate, 4);

    XMLResponse_Rate rate;
    EXPECT_EQ(
        Call([&] { return api::Send(api::RateUrl(session, notes.id, 5, u"Great / +1")); }, rate),
        0);

    // The CAB, to a file in the download folder (which application management creates at
    // start), with its progress.
    const std::u16string cab = u"\\Program Files\\Zentri\\cabs\\notes.cab";
    std::filesystem::create_directories(platform::HostPath("\\Program Files\\Zentri\\cabs"));
    double lastProgress = 0;
    bool transferred = false;
    EXPECT_TRUE(Exchange(
        [&] {
            shared_ptr<HttpRequest> r = api::SendToFile(api::DownloadUrl(session, notes.id), cab);
            r->Progress().Add([&](HttpRequest*, double p) { lastProgress = p; });
            return r;
        },
        [&](HttpRequest*, bool ok) { transferred = ok; }));
    EXPECT_TRUE(transferred);
    EXPECT_DOUBLE_EQ(lastProgress, 1.0);
    std::string saved = device.ReadFile(platform::Utf16ToUtf8(cab));
    EXPECT_EQ(saved.size(), service.Cab().size());
    EXPECT_TRUE(saved == service.Cab());

    // A session the service no longer knows sends the user back to sign in.
    k.SetSessionId(u"expired");
    std::vector<Tag> tags;
    XMLResponse_Tags tagsParser(tags);
    EXPECT_EQ(Call([&] { return api::Send(api::TagsUrl(k.GetSessionId())); }, tagsParser), 203);
    EXPECT_EQ(app.popsToLogin, 1);

    EXPECT_EQ(service.Targets(),
              (std::vector<std::string>{
                  "/auth.php?login=joe&pass=p%2Bss%2Fw%20rd",
                  "/config.php?sessionid=c0ffee42&locale=en&osver=wm65ppc&w=480&h=640&irda=0&"
                  "bt=1&wifi=1&phone=0&gl=0&cam=1&cam3g=0&accel=0&gps=0&keypad=1",
                  "/cats.php?sessionid=c0ffee42",
                  "/getapps.php?sessionid=c0ffee42&cat=11",
                  "/appdetails.php?sessionid=c0ffee42&appid=17&details=1",
                  "/reviews.php?sessionid=c0ffee42&appid=17",
                  "/rate.php?sessionid=c0ffee42&appid=17&rate=5&text=Great%20%2F%20%2B1",
                  "/download.php?sessionid=c0ffee42&appid=17",
                  "/tags.php?sessionid=expired",
              }));
}

}  // namespace
}  // namespace zentri
