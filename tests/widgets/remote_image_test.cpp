// Pictures over HTTP: fetched on the first draw only, decoded into the node, placeholders kept
// on failure, the parent re-arranged, transfers dropped with the node, and file icons.

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/inet_manager.h"
#include "platform/text.h"
#include "tests/support/temp_device.h"
#include "tests/ui/image_fixtures.h"
#include "tests/widgets/widget_support.h"
#include "ui/app_lock.h"
#include "ui/layout.h"
#include "widgets/image.h"
#include "widgets/remote_image.h"

namespace zentri::test {
namespace {

using Remote = TRemoteImage<TImage<GObject>>;

std::vector<uint8_t> Picture(int w, int h) {
    return MakePng(RgbaSpec(w, h, [](int, int) { return 0xFF2080E0u; }));
}

class RemoteImage : public Screen {
  protected:
    RemoteImage() {
        png = Picture(12, 8);
        http.Get("/icon.png", [this](const httplib::Request&, httplib::Response& res) {
            Count();
            res.set_content(std::string(png.begin(), png.end()), "image/png");
        });
        http.Get("/missing", [this](const httplib::Request&, httplib::Response& res) {
            Count();
            res.status = 404;
            res.set_content("not here", "text/plain");
        });
        http.Get("/held", [this](const httplib::Request&, httplib::Response& res) {
            Count();
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return released; });
            res.set_content(std::string(png.begin(), png.end()), "image/png");
        });
        port = http.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { http.listen_after_bind(); });
        // stop() only ends a server that is running: one stopped before its thread got to
        // listen would listen on, and the destructor would wait for it forever.
        while (!http.is_running())
            std::this_thread::yield();
    }
    ~RemoteImage() override {
        Release();
        InetManager::Instance().Shutdown();
        http.stop();
        thread.join();
    }

    std::u16string Url(const char* path) {
        return platform::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(port) + path);
    }
    void Count() {
        std::lock_guard<std::mutex> lock(mutex);
        ++arrivals;
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
        changed.notify_all();
    }
    // Draws the node (which starts its transfer) and waits until the transfer has completed.
    void DrawAndWait(Remote& node) {
        bool done = false;
        {
            std::lock_guard<AppLockType> lock(AppLock());
            Render();
            ASSERT_TRUE(node.Request());
            node.Request()->Completion().Add([&](HttpRequest*, bool) {
                std::lock_guard<std::mutex> l(mutex);
                done = true;
                changed.notify_all();
            });
        }
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] { return done; }));
    }
    shared_ptr<Remote> Placeholder(const char* path) {
        auto node = Add<Remote>({0, 0, 40, 40});
        node->AddImage(0, SolidImage(5, 5, Color{0, 0, 0}));
        node->ShowImage(0);
        node->SetUrl(Url(path));
        return node;
    }

    TempDevice device;
    httplib::Server http;
    int port = 0;
    std::thread thread;
    std::vector<uint8_t> png;
    std::mutex mutex;
    std::condition_variable changed;
    int arrivals = 0;
    bool released = false;
};

TEST_F(RemoteImage, IsFetchedOnItsFirstDrawOnlyAndShownWhenItArrives) {
    auto node = Placeholder("/icon.png");
    auto hidden = Placeholder("/icon.png");
    hidden->SetPosition(0, 500);  // off the screen: never drawn, never fetched
    EXPECT_FALSE(node->Request());
    DrawAndWait(*node);
    std::lock_guard<AppLockType> lock(AppLock());
    EXPECT_TRUE(node->Loaded());
    EXPECT_EQ(node->Image()->width, 12);
    EXPECT_EQ(node->Image()->height, 8);
    EXPECT_FALSE(hidden->Request());
    EXPECT_FALSE(node->Request());
    Render();
    std::lock_guard<std::mutex> l(mutex);
    EXPECT_EQ(arrivals, 1);
}

TEST_F(RemoteImage, AFailedOrUnreadableAnswerKeepsThePlaceholderAndIsNotRetried) {
    auto node = Placeholder("/missing");
    DrawAndWait(*node);
    std::lock_guard<AppLockType> lock(AppLock());
    EXPECT_FALSE(node->Loaded());
    EXPECT_EQ(node->Image()->width, 5);
    Render();
    EXPECT_FALSE(node->Request());
}

// A layout that gives its owner the height of its first child's picture.
class FitLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override {
        reasons.push_back(reason);
        auto* image = static_cast<Remote*>(owner->ChildAt(0).get());
        if (image->Image()) owner->SetSize(owner->Width(), image->Image()->height);
    }
    std::vector<int> reasons;
};

TEST_F(RemoteImage, ArrivalLetsTheParentsLayoutArrangeAgain) {
    GObjectPtr box(new GObject);
    box->SetRect({0, 0, 100, 60});
    root->AddChild(box);
    shared_ptr<Remote> node(new Remote);
    node->SetRect({0, 0, 40, 40});
    box->AddChild(node);
    shared_ptr<FitLayout> layout(new FitLayout);
    box->SetLayout(layout);
    node->SetResizeParent(true);
    node->SetUrl(Url("/icon.png"));
    DrawAndWait(*node);
    std::lock_guard<AppLockType> lock(AppLock());
    EXPECT_EQ(box->Height(), 8);
    EXPECT_EQ(layout->reasons.back(), Layout::kContentChanged);
}

TEST_F(RemoteImage, ANodeThatGoesAwayDropsItsTransfer) {
    {
        std::lock_guard<AppLockType> lock(AppLock());
        auto node = Placeholder("/held");
        Render();
        ASSERT_TRUE(node->Request());
        root->RemoveAllChildren();
    }
    Release();
    InetManager::Instance().Shutdown();  // every transfer ended; none called the node
    EXPECT_EQ(InetManager::Instance().QueueSize(), 0u);
}

TEST_F(RemoteImage, ALocalExecutableShowsItsOwnIconOrTheGenericOne) {
    std::vector<uint8_t> icon = Picture(20, 10);
    device.WriteFile("\\Program Files\\Acme\\tool.png",
                     std::string_view(reinterpret_cast<const char*>(icon.data()), icon.size()));
    device.WriteFile("\\Program Files\\Acme\\tool.exe", "exe");
    device.WriteFile("\\Program Files\\Acme\\other.exe", "exe");
    auto own = Add<Remote>({0, 0, 64, 64});
    own->SetLocalFile(u"\\Program Files\\Acme\\tool.exe");
    own->SetUrl(Url("/icon.png"));
    auto generic = Add<Remote>({70, 0, 64, 64});
    generic->SetLocalFile(u"\\Program Files\\Acme\\other.exe");
    Render();
    EXPECT_TRUE(own->Loaded());
    EXPECT_EQ(own->Image()->width, 20);
    EXPECT_FALSE(own->Request());  // the icon stands in for the download
    EXPECT_TRUE(generic->Loaded());
    EXPECT_EQ(generic->Image()->width, 64);
}

}  // namespace
}  // namespace zentri::test
