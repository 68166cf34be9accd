// Accounts and sessions through HTTP: sign-in, registration with activation by mail, the mail
// resend, the password reset, the client's encodings, and session expiry on an injected clock.

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "server/result_code.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::test {
namespace {

class AccountRequests : public ServiceTest {
  protected:
    std::vector<std::filesystem::path> Mails() {
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::directory_iterator(data.Path() / "data" / "outbox"))
            files.push_back(e.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The path and query of the link in a mail ("activate?token=...").
    static std::string Link(const std::string& mail, const std::string& page) {
        std::smatch m;
        std::regex link("http://127\\.0\\.0\\.1:[0-9]+/(" + page + "\\?token=[0-9a-f]+)");
        return std::regex_search(mail, m, link) ? m[1].str() : "";
    }
    std::string Register(const std::string& login, const std::string& pass,
                         const std::string& mail) {
        EXPECT_EQ(CodeOf("reg.php?login=" + login + "&pass=" + pass + "&mail=" + mail), kOk);
        return Link(Read(Mails().back()), "activate");
    }
};

TEST_F(AccountRequests, DemoAccountSignsInWithFreshRandomSessions) {
    std::string first = SignIn(), second = SignIn();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_NE(first, second);
    EXPECT_EQ(Configure(first, Profile("wm65ppc", 480, 640, "keypad")), kOk);
    EXPECT_EQ(Configure(second, Profile("wm65ppc", 480, 640, "keypad")), kOk);
}

TEST_F(AccountRequests, SignInRefusals) {
    EXPECT_EQ(CodeOf("auth.php?login=demo&pass=wrong123"), kWrongCredentials);
    EXPECT_EQ(CodeOf("auth.php?login=nobody&pass=demo1234"), kWrongCredentials);
    EXPECT_EQ(CodeOf("auth.php?login=demo&pass="), kWrongCredentials);
    EXPECT_EQ(CodeOf("auth.php?login=demo"), kMissingParameter);
    EXPECT_EQ(CodeOf("auth.php?pass=demo1234"), kMissingParameter);
}

// The client writes "+" as %2B and "/" as %2F in passwords, blanks as %20, and sends logins
// unchanged; a "+" is never a blank.
TEST_F(AccountRequests, RegistrationActivationAndTheClientsEncodings) {
    std::string link = Register("x+y", "a%2Bb%2Fc%20d", "x@example.org");
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(CodeOf("auth.php?login=x+y&pass=a%2Bb%2Fc%20d"), kNotActivated);

    // A resend makes a new link and the old one stops working.
    EXPECT_EQ(CodeOf("actmail_resend.php?login=x+y"), kOk);
    std::string newer = Link(Read(Mails().back()), "activate");
    ASSERT_NE(newer, link);
    EXPECT_EQ(Get(link).status, 404);
    Reply page = Get(newer);
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("activated"), std::string::npos);
    EXPECT_EQ(Get(newer).status, 404);  // used up

    std::string id;
    EXPECT_EQ(checker.Auth(Get("auth.php?login=x+y&pass=a%2Bb%2Fc%20d").body, id), kOk);
    EXPECT_EQ(checker.Auth(Get("auth.php?login=x+y&pass=a+b%2fc%20d").body, id), kOk);
    EXPECT_EQ(CodeOf("auth.php?login=x%20y&pass=a%2Bb%2Fc%20d"), kWrongCredentials);
    EXPECT_EQ(CodeOf("actmail_resend.php?login=x+y"), kAlreadyActive);
}

TEST_F(AccountRequests, RegistrationRefusals) {
    EXPECT_EQ(CodeOf("reg.php?login=DEMO&pass=secret1&mail=a@b.org"), kLoginTaken);
    EXPECT_EQ(CodeOf("reg.php?login=other&pass=secret1&mail=DEMO@zentri.invalid"), kMailTaken);
    EXPECT_EQ(CodeOf("reg.php?login=a&pass=secret1&mail=a@b.org"), kBadLogin);
    EXPECT_EQ(CodeOf("reg.php?login=100%25&pass=secret1&mail=a@b.org"), kBadLogin);
    EXPECT_EQ(CodeOf("reg.php?login=two%20words&pass=secret1&mail=a@b.org"), kBadLogin);
    EXPECT_EQ(CodeOf("reg.php?login=\xD0\xB8\xD0\xBC\xD1\x8F&pass=secret1&mail=a@b.org"),
              kBadLogin);
    for (const char* mail : {"a@b", "a.b@c", "@b.org", "a@b.", "a@@b.org", "a@.org"})
        EXPECT_EQ(CodeOf(std::string("reg.php?login=fine&pass=secret1&mail=") + mail), kBadMail)
            << mail;
    EXPECT_EQ(CodeOf("reg.php?login=fine&pass=short&mail=a@b.org"), kBadPassword);
    EXPECT_EQ(CodeOf("reg.php?login=fine&pass=secret1"), kMissingParameter);
    EXPECT_EQ(CodeOf("actmail_resend.php?login=nobody"), kUnknownAccount);
    EXPECT_EQ(CodeOf("actmail_resend.php"), kMissingParameter);
    EXPECT_TRUE(Mails().empty());
}

// When the activation mail cannot be written the registration is refused as a storage failure
// ("nothing was changed, try again"), and indeed nothing is kept: the same registration succeeds
// once mail can be written again.
TEST_F(AccountRequests, RegistrationWithoutItsMailKeepsNoAccount) {
    std::filesystem::path outbox = data.Path() / "data" / "outbox";
    std::filesystem::remove_all(outbox);
    { std::ofstream blocker(outbox); }  // a file where the folder was: no mail can be written
    EXPECT_EQ(CodeOf("reg.php?login=mailless&pass=secret1&mail=m@example.org"), kServiceFailure);
    EXPECT_EQ(CodeOf("auth.php?login=mailless&pass=secret1"), kWrongCredentials);

    std::filesystem::remove(outbox);
    std::filesystem::create_directory(outbox);
    std::string link = Register("mailless", "secret1", "m@example.org");
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(Get(link).status, 200);
    EXPECT_EQ(CodeOf("auth.php?login=mailless&pass=secret1"), kOk);
}

TEST_F(AccountRequests, ActivationLinksExpire) {
    std::string link = Register("late", "secret1", "late@example.org");
    clock.Advance(Accounts::kActivationLifetime + 1);
    EXPECT_EQ(Get(link).status, 404);
    EXPECT_EQ(CodeOf("auth.php?login=late&pass=secret1"), kNotActivated);
}

TEST_F(AccountRequests, PasswordResetByLoginOrMail) {
    std::string before = SignIn();
    EXPECT_EQ(CodeOf("auth_restore.php?login=nobody"), kUnknownAccount);
    EXPECT_EQ(CodeOf("auth_restore.php?mail=nobody@x.org"), kUnknownAccount);
    EXPECT_EQ(CodeOf("auth_restore.php"), kMissingParameter);
    EXPECT_EQ(CodeOf("auth_restore.php?login=demo"), kOk);
    EXPECT_EQ(CodeOf("auth_restore.php?mail=demo@zentri.invalid"), kOk);
    std::vector<std::filesystem::path> mails = Mails();
    ASSERT_EQ(mails.size(), 2u);
    std::string text = Read(mails.back());
    EXPECT_NE(text.find("To: demo@zentri.invalid"), std::string::npos);
    std::string link = Link(text, "reset");
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(Get(Link(Read(mails.front()), "reset")).status, 404);  // the newer link replaced it

    Reply form = Get(link);
    EXPECT_EQ(form.status, 200);
    EXPECT_NE(form.body.find("<form"), std::string::npos);
    httplib::Client client("127.0.0.1", port);
    std::string token = link.substr(link.find('=') + 1);
    auto differ = client.Post(
        "/reset", httplib::Params{{"token", token}, {"password", "new pass+1"}, {"repeat", "x"}});
    ASSERT_TRUE(differ);
    EXPECT_NE(differ->body.find("differ"), std::string::npos);
    // A password the client could not send intact is refused; the link keeps working.
    for (const char* unsendable : {"new&pass1", "new#pass1", "new%2Bpass1"}) {
        auto refused = client.Post(
            "/reset",
            httplib::Params{{"token", token}, {"password", unsendable}, {"repeat", unsendable}});
        ASSERT_TRUE(refused);
        EXPECT_NE(refused->body.find("<form"), std::string::npos) << unsendable;
        EXPECT_EQ(refused->body.find("Password changed"), std::string::npos) << unsendable;
    }
    EXPECT_EQ(CodeOf("auth.php?login=demo&pass=new"), kWrongCredentials);
    auto done = client.Post(
        "/reset",
        httplib::Params{{"token", token}, {"password", "new pass+1"}, {"repeat", "new pass+1"}});
    ASSERT_TRUE(done);
    EXPECT_EQ(done->status, 200);

    EXPECT_EQ(CodeOf("auth.php?login=demo&pass=demo1234"), kWrongCredentials);
    EXPECT_EQ(CodeOf("auth.php?login=demo&pass=new%20pass%2B1"), kOk);
    EXPECT_EQ(CodeOf("cats.php?sessionid=" + before), kSessionInvalid);  // signed out
    EXPECT_EQ(Get(link).status, 404);
}

// Picture addresses follow the address the client used; mail links never do, so a request with
// a forged Host cannot have a reset link sent that leads elsewhere.
TEST_F(AccountRequests, MailLinksIgnoreTheRequestsHost) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    httplib::Headers forged = {{"Host", "evil.example:80"}};
    auto reset = client.Get("/auth_restore.php?login=demo", forged);
    ASSERT_TRUE(reset);
    EXPECT_EQ(checker.Code(reset->body), kOk);
    EXPECT_FALSE(Link(Read(Mails().back()), "reset").empty());
    EXPECT_EQ(Read(Mails().back()).find("evil"), std::string::npos);

    auto list = client.Get(("/getapps.php?sessionid=" + SignIn() + "&count=1").c_str(), forged);
    ASSERT_TRUE(list);
    std::vector<ClientApp> apps;
    ASSERT_EQ(checker.GetApps(list->body, apps), kOk);
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0].icon.rfind("http://evil.example:80/media/icons/", 0), 0u);
}

TEST_F(AccountRequests, SessionsEndAfterTheIdleTime) {
    std::string id = SignIn();
    clock.Advance(kIdle - 1);
    EXPECT_EQ(CodeOf("tags.php?sessionid=" + id), kOk);  // restarts the idle time
    clock.Advance(kIdle - 1);
    EXPECT_EQ(CodeOf("tags.php?sessionid=" + id), kOk);
    clock.Advance(kIdle + 1);
    EXPECT_EQ(CodeOf("tags.php?sessionid=" + id), kSessionInvalid);
    EXPECT_EQ(CodeOf("tags.php?sessionid=" + id), kSessionInvalid);

    for (const char* request :
         {"config", "cats", "tags", "getapps", "appdetails", "reviews", "rate"}) {
        EXPECT_EQ(CodeOf(std::string(request) + ".php?sessionid=&appid=2"), kSessionInvalid)
            << request;
        EXPECT_EQ(CodeOf(std::string(request) + ".php?sessionid=0123abcd&appid=2"),
                  kSessionInvalid);
        EXPECT_EQ(CodeOf(std::string(request) + ".php?appid=2"), kMissingParameter) << request;
    }
    Reply download = Get("download.php?sessionid=" + id + "&appid=2");
    EXPECT_EQ(download.status, 403);
    EXPECT_EQ(checker.Code(download.body), kSessionInvalid);
}

}  // namespace
}  // namespace zentri::server::test
