// The application list with a long answer, on the 480 x 640 handset at 192 dpi: the client's own
// application object, shell and AppsScene (a category list, filtered and sorted on the device),
// with the interface images and texts of the program folder, and an answer of N applications as
// the demo service writes it.
//   BM_AppListAnswerToFirstFrame/N  parse the answer, build the rows, paint the first frame
//   BM_AppListFlingFrame/N          one 40 ms frame of a fling through rows not drawn before
//   BM_AppListResort/N              another sort key or price filter: the rows are rebuilt and
//                                   the frame painted
// Rows are filled when first drawn, so the counter "filled_rows" tells how many rows (and icon
// transfers) a first frame costs. Icons point at a closed loopback port: their transfers fail
// at once and the rows keep their placeholders.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "bench/temp_device_main.h"
#include "net/http_request.h"
#include "net/inet_manager.h"
#include "scenes/apps_scene.h"
#include "ui/app_lock.h"
#include "ui/image_pool.h"
#include "ui/performance_frequency.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"
#include "ui/touch.h"
#include "widgets/vertical_move.h"

namespace zentri {
namespace {

constexpr int kWidth = 480, kHeight = 588;  // the program's area above the soft-key bar
constexpr const char16_t* kProgramFolder = u"\\Program Files\\Zentri\\";

// The list without the network: the answer is handed over by the benchmark.
class OfflineAppsScene : public AppsScene {
  public:
    OfflineAppsScene()
        : AppsScene(u"Bulk listing", u"Categories", nullptr, u"", u"", u"", -1, -1, false) {}

  protected:
    shared_ptr<HttpRequest> SendGetApps(const std::u16string& url) override {
        (void)url;
        return nullptr;
    }
};

// A "getapps" answer of n applications as the demo service writes it.
std::string Answer(int n) {
    static const char* const types[] = {"free", "paid", "free", "trial", "free", "demo"};
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kestro-api>\n"
        "  <result code=\"0\" />\n  <getapps>\n";
    char line[640];
    for (int i = 1; i <= n; ++i) {
        unsigned h = static_cast<unsigned>(i) * 2654435761u;
        std::snprintf(line, sizeof line,
                      "    <app id=\"%d\" name=\"Generated Application %05d\" com=\"Company %u\" "
                      "icon=\"http://127.0.0.1:9/media/icons/%u.png\" type=\"%s\" catid=\"9000\" "
                      "rate=\"%.2f\" rates=\"%u\" reviews=\"0\" views=\"%u\" downloads=\"%u\" "
                      "version=\"1.0\" revision=\"1\" sysid=\"Company %u Generated %05d\" "
                      "exe=\"\" install=\"generated-%05d.cab\" createtime=\"%u\" />\n",
                      1000000 + i, i, h % 12, 1 + h % 66, types[h % 6], (h >> 8) % 17 * 0.25 + 1,
                      h % 7 == 0 ? 0 : (h >> 4) % 400, (h >> 6) % 90000, (h >> 10) % 50000, h % 12,
                      i, i, 1275350400u - 25200u * static_cast<unsigned>(i));
        xml += line;
    }
    return xml + "  </getapps>\n</kestro-api>\n";
}

// The program folder of the temporary device: the interface images and the texts.
void StageProgramFolder() {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(std::getenv("ZENTRI_DEVICE_ROOT")) / "Program Files" / "Zentri";
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(ZENTRI_IMAGE_SET))
        fs::copy_file(entry.path(), folder / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    fs::copy_file(ZENTRI_LOCALIZATION, folder / "localization.xml",
                  fs::copy_options::overwrite_existing);
}

struct ListScreen {
    explicit ListScreen(int n) : answer(Answer(n)) {
        StageProgramFolder();
        PerformanceFrequency::Instance().SetSource(clock);
        Localization::Instance().Load(std::u16string(kProgramFolder) + u"localization.xml");
        ImagePool::Instance().SetFolder(kProgramFolder);
        Kestro::Instance().SetSortOrder(u"rates");
        Kestro::Instance().SetPriceFilter(u"");
        app.Server().Resize(kWidth, kHeight);
        app.BuildShell();  // the root takes the screen's size
        std::lock_guard<AppLockType> lock(AppLock());
        app.PushScene(scene);
        Settle();
    }
    ~ListScreen() {
        {
            std::lock_guard<AppLockType> lock(AppLock());
            scene = nullptr;
        }
        InetManager::Instance().Shutdown();
        PerformanceFrequency::Instance().SetSource(nullptr);
    }

    void Take() {
        scene->TakeAnswer(reinterpret_cast<const uint8_t*>(answer.data()),
                          static_cast<int32_t>(answer.size()));
    }
    void Settle() {
        for (int i = 0; i < 1000 && app.Server().HasAnimators(); ++i)
            Frame();
        app.Server().Tick(false, true);
    }
    void Frame() {
        clock->AdvanceMs(40);
        app.Server().Tick(true, true);
    }
    GObject& Content() { return *scene->Content(); }
    int FilledRows() {
        int filled = 0;
        for (size_t i = 0; i < Content().ChildCount(); ++i)
            filled += Content().ChildAt(i)->ChildCount() > 0;
        return filled;
    }
    // A flick upwards at the speed limit, as a finger does it.
    void StartFling() {
        UIServer& server = app.Server();
        server.DispatchTouch(Touch::kDown, 100, 560);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kMove, 100, 400);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kMove, 100, 200);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kUp, 100, 200);
    }

    std::string answer;
    std::shared_ptr<ManualCounter> clock = std::make_shared<ManualCounter>(1000000);
    KestroApp app;
    shared_ptr<OfflineAppsScene> scene{new OfflineAppsScene};
};

void BM_AppListAnswerToFirstFrame(benchmark::State& state) {
    ListScreen screen(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::lock_guard<AppLockType> lock(AppLock());
            screen.scene->Rebuild();  // an empty list waiting for its answer
            screen.Settle();
        }
        state.ResumeTiming();
        std::lock_guard<AppLockType> lock(AppLock());
        screen.Take();
        screen.app.Server().Tick(false, true);
        benchmark::DoNotOptimize(screen.app.Server().DrawingSurface()->pixels.data());
    }
    std::lock_guard<AppLockType> lock(AppLock());
    state.counters["rows"] = static_cast<double>(screen.Content().ChildCount());
    state.counters["filled_rows"] = screen.FilledRows();
    // ZENTRI_BENCH_SHOT=FILE.png keeps a picture of the first frame to look at.
    if (const char* file = std::getenv("ZENTRI_BENCH_SHOT"))
        SavePng(*screen.app.Server().DrawingSurface(), file);
}
BENCHMARK(BM_AppListAnswerToFirstFrame)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AppListFlingFrame(benchmark::State& state) {
    ListScreen screen(static_cast<int>(state.range(0)));
    std::unique_lock<AppLockType> lock(AppLock());
    screen.Take();
    screen.Settle();
    GObject& content = screen.Content();
    const int middle = -(content.Height() - (kHeight - 2 * 78)) / 2;
    // Each fling goes on from where the last one stopped, so the frames keep meeting rows never
    // drawn before (the worst case: they are filled as they come into sight). Near the end the
    // list is sorted anew, which makes every row new again, and the flings start at the top.
    bool byRate = true;
    int64_t moved = 0, frames = 0;
    for (auto _ : state) {
        if (!dynamic_cast<TVerticalMoveI<GObject>&>(content).Moving()) {
            state.PauseTiming();
            if (content.Y() + content.Height() < kHeight + 2000) {
                screen.scene->ChangeSort(byRate ? u"downloads" : u"rates");
                byRate = !byRate;
                screen.Settle();
            }
            screen.StartFling();
            state.ResumeTiming();
        }
        const int before = content.Y();
        screen.Frame();
        moved += std::abs(content.Y() - before);
        ++frames;
        benchmark::DoNotOptimize(screen.app.Server().DrawingSurface()->pixels.data());
    }
    state.counters["px_per_frame"] = frames ? static_cast<double>(moved) / frames : 0.0;
    if (const char* file = std::getenv("ZENTRI_BENCH_FLING_SHOT")) {
        content.SetPosition(0, middle);
        screen.Settle();
        screen.StartFling();
        for (int i = 0; i < 3; ++i)
            screen.Frame();
        SavePng(*screen.app.Server().DrawingSurface(), file);
    }
}
BENCHMARK(BM_AppListFlingFrame)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AppListResort(benchmark::State& state) {
    ListScreen screen(static_cast<int>(state.range(0)));
    std::unique_lock<AppLockType> lock(AppLock());
    screen.Take();
    screen.Settle();
    // Each step changes one of the two, as a user does from the filter bar.
    const std::u16string sorts[] = {u"", u"downloads", u"createtime", u"rates"};
    const std::u16string prices[] = {u"paid", u"", u"free", u""};
    size_t step = 0;
    for (auto _ : state) {
        if (step % 2 == 0)
            screen.scene->ChangeSort(sorts[(step / 2) % 4]);
        else
            screen.scene->ChangePrice(prices[(step / 2) % 4]);
        ++step;
        screen.app.Server().Tick(false, true);
        benchmark::DoNotOptimize(screen.app.Server().DrawingSurface()->pixels.data());
    }
    state.counters["rows"] = static_cast<double>(screen.Content().ChildCount());
}
BENCHMARK(BM_AppListResort)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentri

int main(int argc, char** argv) {
    return RunBenchmarksOnTempDevice(argc, argv, "zentri-app-list-bench");
}
