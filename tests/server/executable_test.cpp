// The real zentri-catalogue program: its command line, the first line it prints, the account
// commands, and a database that survives the process being killed in the middle of writes.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "server/database.h"
#include "server/result_code.h"
#include "tests/server/service_fixture.h"

extern char** environ;

namespace zentri::server::test {
namespace {

std::string Program() {
    return ZENTRI_CATALOGUE_PROGRAM;
}

int RunProgram(std::vector<std::string> args) {
    args.insert(args.begin(), Program());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A running "serve" child with its stdout read up to the first line.
class Child {
  public:
    explicit Child(const std::filesystem::path& data) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string program = Program(), dir = data.string();
        std::vector<std::string> args = {program,  "serve", "--port",     "0",
                                         "--data", dir,     "--fast-hash"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        FILE* in = fdopen(out[0], "r");
        char line[256] = {};
        if (in && fgets(line, sizeof line, in)) firstLine_ = line;
        if (in) fclose(in);
    }
    ~Child() { Kill(SIGKILL); }
    void Kill(int signal) {
        if (pid_ <= 0) return;
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        exitStatus_ = status;
        pid_ = 0;
    }
    int ExitStatus() const { return exitStatus_; }
    const std::string& FirstLine() const { return firstLine_; }
    int Port() const {
        size_t colon = firstLine_.rfind(':');
        return colon == std::string::npos ? 0 : std::atoi(firstLine_.c_str() + colon + 1);
    }

  private:
    pid_t pid_ = 0;
    std::string firstLine_;
    int exitStatus_ = -1;
};

std::string GetFrom(int port, const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    auto result = client.Get(("/" + target).c_str());
    return result ? result->body : "";
}

TEST(Executable, ServesAndStopsOnTerm) {
    TempFolder data;
    Child child(data.Path());
    ASSERT_EQ(child.FirstLine().rfind("listening on http://127.0.0.1:", 0), 0u)
        << child.FirstLine();
    AnswerChecker checker;
    std::string id;
    EXPECT_EQ(checker.Auth(GetFrom(child.Port(), "auth.php?login=demo&pass=demo1234"), id), kOk);
    child.Kill(SIGTERM);
    EXPECT_TRUE(WIFEXITED(child.ExitStatus()) && WEXITSTATUS(child.ExitStatus()) == 0);
    EXPECT_TRUE(checker.problems.empty());
}

TEST(Executable, AccountCommands) {
    TempFolder data;
    std::string dir = (data.Path() / "d").string();
    EXPECT_EQ(RunProgram({"user", "add", "bob", "secret+1", "bob@example.org", "--data", dir,
                          "--fast-hash"}),
              0);
    EXPECT_EQ(RunProgram({"user", "add", "bob", "secret+1", "other@example.org", "--data", dir,
                          "--fast-hash"}),
              1);
    EXPECT_EQ(RunProgram({"user", "add", "al", "short", "al@example.org", "--data", dir}), 1);
    EXPECT_EQ(RunProgram({"user", "activate", "bob", "--data", dir}), 0);
    EXPECT_EQ(RunProgram({"user", "activate", "bob", "--data", dir}), 1);
    EXPECT_EQ(RunProgram({"user", "activate", "nobody", "--data", dir}), 1);
    EXPECT_EQ(RunProgram({"user", "add", "carol", "secret1", "c@example.org", "--active", "--data",
                          dir, "--fast-hash"}),
              0);
    EXPECT_EQ(RunProgram({"serve", "--data", dir}), 2);  // no port
    EXPECT_EQ(RunProgram({"user", "add", "x", "--data", dir}), 2);
    EXPECT_EQ(RunProgram({"serve", "--port", "70000", "--data", dir}), 2);

    Child child(data.Path() / "d");
    AnswerChecker checker;
    EXPECT_EQ(checker.Code(GetFrom(child.Port(), "auth.php?login=bob&pass=secret%2B1")), kOk);
    EXPECT_EQ(checker.Code(GetFrom(child.Port(), "auth.php?login=carol&pass=secret1")), kOk);
}

// The service is killed while clients rate, view and register; the database opens intact, its
// counters agree with its rows, and the service starts again on it.
TEST(Executable, DatabaseSurvivesAKillDuringWrites) {
    TempFolder data;
    std::filesystem::path dir = data.Path() / "d";
    std::atomic<int> answered{0};
    {
        Child child(dir);
        int port = child.Port();
        ASSERT_GT(port, 0);
        std::atomic<bool> stop{false};
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w)
            writers.emplace_back([&, w] {
                std::string login = "writer" + std::to_string(w);
                AnswerChecker checker;
                std::string id;
                for (int i = 0; !stop && i < 400; ++i) {
                    std::string n = std::to_string(i);
                    GetFrom(port, "reg.php?login=" + login + "x" + n +
                                      "&pass=secret1&mail=" + login + n + "@example.org");
                    if (checker.Auth(GetFrom(port, "auth.php?login=demo&pass=demo1234"), id) != 0)
                        continue;
                    GetFrom(port, "rate.php?sessionid=" + id + "&appid=" +
                                      std::to_string(2 + i % 60) + "&rate=4&text=w" + n);
                    GetFrom(port, "appdetails.php?sessionid=" + id + "&appid=3&details=1");
                    ++answered;
                }
            });
        // A generous guard only: the loop ends as soon as enough writes were answered.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (answered < 40 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        child.Kill(SIGKILL);
        stop = true;
        for (auto& t : writers)
            t.join();
        ASSERT_GE(answered, 40);
    }
    {
        Database db(dir / "catalogue.sqlite3");
        Statement check(db, "PRAGMA integrity_check");
        ASSERT_TRUE(check.Step());
        EXPECT_EQ(check.Text(0), "ok");
        // Each application's counters are the seed's plus exactly the ratings stored, so no
        // rating was half-written.
        TempFolder fresh;
        ServiceOptions options;
        options.dataDir = fresh.Path();
        options.assetsDir = AssetsDir();
        options.hashCost = HashCost::Minimal;
        CatalogueService seed(options);
        Statement stored(db,
                         "SELECT a.id, a.rates, a.rate_total, "
                         "(SELECT COUNT(*) FROM ratings r WHERE r.app = a.id), "
                         "(SELECT COALESCE(SUM(rate), 0) FROM ratings r WHERE r.app = a.id) "
                         "FROM apps a");
        int rated = 0;
        while (stored.Step()) {
            auto original = seed.Apps().AppById(stored.Int(0));
            ASSERT_TRUE(original);
            EXPECT_EQ(stored.Int(1), original->rates + stored.Int(3));
            EXPECT_NEAR(stored.Real(2), original->rateTotal + static_cast<double>(stored.Int(4)),
                        1e-6);
            rated += stored.Int(3) > 0;
        }
        EXPECT_GT(rated, 0);
        Statement mismatch(db,
                           "SELECT COUNT(*) FROM ratings r JOIN reviews v ON v.account = r.account "
                           "AND v.app = r.app WHERE v.rate != r.rate");
        ASSERT_TRUE(mismatch.Step());
        EXPECT_EQ(mismatch.Int(0), 0);
    }
    Child again(dir);
    AnswerChecker checker;
    std::vector<ClientApp> apps;
    std::string id;
    ASSERT_EQ(checker.Auth(GetFrom(again.Port(), "auth.php?login=demo&pass=demo1234"), id), kOk);
    EXPECT_EQ(checker.GetApps(GetFrom(again.Port(), "getapps.php?sessionid=" + id), apps), kOk);
    EXPECT_EQ(apps.size(), 66u);
    EXPECT_TRUE(checker.problems.empty());
}

}  // namespace
}  // namespace zentri::server::test
