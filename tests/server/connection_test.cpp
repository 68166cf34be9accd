// The service's connections: a request has a bounded time to arrive and an idle connection a
// bounded time to live, slow and idle clients never keep the others waiting, and a stop ends at
// once while clients hold connections. Waits are bounded by a failure guard, never a pace.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>

#include "server/request_watcher.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kGuard = 30s;  // a failure guard, far above any limit a test sets

// A raw client socket, so that a test can send part of a request.
class RawClient {
  public:
    explicit RawClient(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        timeval guard{std::chrono::seconds(kGuard).count(), 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(fd_); }

    bool Send(const std::string& bytes) {
        return connected_ && send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                                 static_cast<ssize_t>(bytes.size());
    }
    // Reads until `count` responses have arrived whole (by their Content-Length); their texts.
    std::string ReadResponses(int count) {
        std::string got;
        size_t from = 0;
        for (int i = 0; i < count; ++i) {
            size_t end;
            while ((end = got.find("\r\n\r\n", from)) == std::string::npos)
                if (!ReadMore(got)) return got;
            size_t length = got.find("Content-Length: ", from);
            size_t total = end + 4 + std::stoul(got.substr(length + 16));
            while (got.size() < total)
                if (!ReadMore(got)) return got;
            from = total;
        }
        return got;
    }
    // True when the service closes the connection (within the guard) with nothing more sent.
    bool ClosedByService() {
        char byte;
        return recv(fd_, &byte, 1, 0) == 0;
    }

  private:
    bool ReadMore(std::string& got) {
        char buffer[4096];
        ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        got.append(buffer, static_cast<size_t>(n));
        return true;
    }

    int fd_;
    bool connected_ = false;
};

const std::string kHead = "GET /about HTTP/1.1\r\nHost: 127.0.0.1\r\n";

// Limits far above the guard: only a watcher that serves others meanwhile passes.
class HeldConnections : public ServiceTest {
  protected:
    HeldConnections() {
        limits.request = 10min;
        limits.idle = 10min;
        limits.workers = 2;
    }
    int Status(const std::string& target) {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(std::chrono::seconds(kGuard).count() / 3, 0);
        auto reply = client.Get(target.c_str());
        return reply ? reply->status : 0;
    }
};

TEST_F(HeldConnections, SlowAndIdleClientsNeverKeepOthersWaiting) {
    std::vector<std::unique_ptr<RawClient>> slow, idle;
    for (int i = 0; i < 8; ++i) {
        slow.push_back(std::make_unique<RawClient>(port));
        ASSERT_TRUE(slow.back()->Send(kHead));
        idle.push_back(std::make_unique<RawClient>(port));
        ASSERT_TRUE(idle.back()->Send(kHead + "\r\n"));
        ASSERT_NE(idle.back()->ReadResponses(1).find("HTTP/1.1 200"), std::string::npos);
    }
    // Sixteen connections held against two workers, and others are still served.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Status("/about"), 200);
    EXPECT_EQ(Status("/cats.php?sessionid=" + SignIn()), 200);
    // The held ones are served as soon as their requests are whole, kept-alive ones too.
    ASSERT_TRUE(slow.front()->Send("\r\n"));
    EXPECT_NE(slow.front()->ReadResponses(1).find("HTTP/1.1 200"), std::string::npos);
    ASSERT_TRUE(idle.front()->Send(kHead + "\r\n"));
    EXPECT_NE(idle.front()->ReadResponses(1).find("HTTP/1.1 200"), std::string::npos);
}

TEST_F(HeldConnections, PipelinedAndPiecewiseRequestsAreAnsweredInOrder) {
    RawClient client(port);
    ASSERT_TRUE(client.Send(kHead + "\r\n" + "GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\nGET /he"));
    ASSERT_TRUE(client.Send("lp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"));
    std::string replies = client.ReadResponses(3);
    size_t about = replies.find("HTTP/1.1 200");
    size_t missing = replies.find("HTTP/1.1 404");
    size_t help = replies.find("HTTP/1.1 200", missing);
    EXPECT_LT(about, missing);
    EXPECT_NE(missing, std::string::npos);
    EXPECT_NE(help, std::string::npos);
    EXPECT_TRUE(client.ClosedByService());  // "Connection: close" is kept
}

TEST_F(HeldConnections, StopEndsAtOnceWhileClientsHoldConnections) {
    std::vector<std::unique_ptr<RawClient>> held;
    for (int i = 0; i < 6; ++i) {
        held.push_back(std::make_unique<RawClient>(port));
        ASSERT_TRUE(held.back()->Send(kHead));
    }
    RawClient idle(port);
    ASSERT_TRUE(idle.Send(kHead + "\r\n"));
    ASSERT_NE(idle.ReadResponses(1).find("HTTP/1.1 200"), std::string::npos);
    auto stopped = std::async(std::launch::async, [this] { http->Stop(); });
    ASSERT_EQ(stopped.wait_for(kGuard), std::future_status::ready);
    for (auto& client : held)
        EXPECT_TRUE(client->ClosedByService());
    EXPECT_TRUE(idle.ClosedByService());
}

class ShortLimits : public ServiceTest {
  protected:
    ShortLimits() {
        limits.request = 200ms;
        limits.idle = 200ms;
    }
};

TEST_F(ShortLimits, SlowRequestsAndIdleConnectionsAreClosed) {
    RawClient slow(port);
    ASSERT_TRUE(slow.Send(kHead));  // never finished
    RawClient silent(port);         // never sends a byte
    RawClient idle(port);
    ASSERT_TRUE(idle.Send(kHead + "\r\n"));
    EXPECT_NE(idle.ReadResponses(1).find("Keep-Alive: timeout=1"), std::string::npos);
    EXPECT_TRUE(slow.ClosedByService());
    EXPECT_TRUE(silent.ClosedByService());
    EXPECT_TRUE(idle.ClosedByService());
}

TEST(RequestArrived, AWholeHeadAndTheBodyItAnnounces) {
    EXPECT_FALSE(RequestArrived("", 100));
    EXPECT_FALSE(RequestArrived("GET / HTTP/1.1\r\nHost: x\r\n", 100));
    EXPECT_TRUE(RequestArrived("GET / HTTP/1.1\r\nHost: x\r\n\r\n", 100));
    const std::string post = "POST /reset HTTP/1.1\r\ncontent-length:  5\r\n\r\n";
    EXPECT_FALSE(RequestArrived(post + "abcd", 100));
    EXPECT_TRUE(RequestArrived(post + "abcde", 100));
    EXPECT_TRUE(RequestArrived(post + "abcdeGET", 100));  // the next one may follow
    // Left to the reader: a body after "100 Continue", a chunked one, one beyond the limit, an
    // announced length that is no number, a head too long to be one.
    EXPECT_TRUE(
        RequestArrived("POST / HTTP/1.1\r\nContent-Length: 5\r\nExpect: 100-continue"
                       "\r\n\r\n",
                       100));
    EXPECT_TRUE(RequestArrived("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 100));
    EXPECT_TRUE(RequestArrived("POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n", 100));
    EXPECT_TRUE(
        RequestArrived("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", 100));
    EXPECT_TRUE(RequestArrived("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 100));
    EXPECT_TRUE(RequestArrived("GET /" + std::string(70000, 'x'), 100));
}

}  // namespace
}  // namespace zentri::server::test
