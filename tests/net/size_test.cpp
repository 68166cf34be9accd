// The blocking size query and the reading of addresses.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>

#include "net/address.h"
#include "net/inet_manager.h"
#include "platform/text.h"
#include "tests/net/test_server.h"

namespace zentri::test {
namespace {

// A loopback port on which nothing listens.
int ClosedPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

TEST(GetSize, AnswersTheAnnouncedLengthInWholeKiB) {
    TestServer server;
    InetManager& inet = InetManager::Instance();
    EXPECT_EQ(inet.GetSize(server.Url("/bytes/1023")), u"0");
    EXPECT_EQ(inet.GetSize(server.Url("/bytes/1024")), u"1");
    EXPECT_EQ(inet.GetSize(server.Url("/bytes/5000000")), u"4882");
    EXPECT_EQ(server.LastMethod(), "GET");
    EXPECT_EQ(inet.GetSize(server.Url("/chunked/5000")), u"0") << "no Content-Length";
}

TEST(GetSize, ReadsTheHeadersOnly) {
    TestServer server;
    // 100 MiB announced, and the body stalls after a few bytes until the server stops.
    auto size = std::async(std::launch::async, [&] {
        return InetManager::Instance().GetSize(server.Url("/stall/104857600"));
    });
    ASSERT_EQ(size.wait_for(kGuard), std::future_status::ready);
    EXPECT_EQ(size.get(), u"102400");
}

TEST(GetSize, AnswersNothingWhenTheServerDoesNot) {
    TestServer server;
    InetManager& inet = InetManager::Instance();
    std::u16string closed =
        platform::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x");
    EXPECT_EQ(inet.GetSize(closed), u"");
    EXPECT_EQ(inet.GetSize(u"http:///x"), u"");
    inet.SetTimeoutsForTesting({std::chrono::milliseconds(2000), std::chrono::seconds(1)});
    EXPECT_EQ(inet.GetSize(server.Url("/silent")), u"");
    inet.SetTimeoutsForTesting({});
}

TEST(Address, HostIsBetweenTheFirstDoubleSlashAndTheNextSlash) {
    auto a = SplitAddress(u"http://shop.example.com/api/getapps.php?sessionid=1&cat=2");
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->secure);
    EXPECT_EQ(a->host, "shop.example.com");
    EXPECT_EQ(a->objectPath, "/api/getapps.php?sessionid=1&cat=2");
    EXPECT_EQ(a->Url(), "http://shop.example.com/api/getapps.php?sessionid=1&cat=2");

    a = SplitAddress(u"http://127.0.0.1:8642");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "127.0.0.1:8642");
    EXPECT_EQ(a->objectPath, "/");

    a = SplitAddress(u"HTTPS://secure.example.com/x");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->secure);
    EXPECT_EQ(a->Url(), "https://secure.example.com/x");

    a = SplitAddress(u"ftp://files.example.com/x");  // any other scheme: plain HTTP
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Url(), "http://files.example.com/x");

    a = SplitAddress(u"example.com/x");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "example.com");
    EXPECT_EQ(a->objectPath, "/x");
}

TEST(Address, TheObjectPathReachesTheServerWhole) {
    auto a = SplitAddress(u"http://h/search.php?q=a b#cé");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->objectPath, "/search.php?q=a%20b%23c%C3%A9");
}

TEST(Address, HostsThatWouldBeReadAsSomethingElseAreRefused) {
    EXPECT_FALSE(SplitAddress(u"http:///x"));
    EXPECT_FALSE(SplitAddress(u""));
    EXPECT_FALSE(SplitAddress(u"http://user@evil.example.com/x"));
    EXPECT_FALSE(SplitAddress(u"http://h?x/"));
    EXPECT_FALSE(SplitAddress(u"http://a b/"));
}

}  // namespace
}  // namespace zentri::test
