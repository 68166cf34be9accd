#include "ui/platform/platform_window.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/text.h"
#include "ui/key_table.h"
#include "ui/pending_work.h"
#include "ui/platform/headless_window.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/sdl_window.h"

namespace zentri {

std::unique_ptr<PlatformWindow> PlatformWindow::CreateForEnvironment() {
    const char* headless = std::getenv("ZENTRI_HEADLESS");
    std::unique_ptr<PlatformWindow> window;
    if (headless && std::string(headless) == "1")
        window = std::make_unique<HeadlessWindow>();
    else
        window = std::make_unique<SdlWindow>();
    const char* script = std::getenv("ZENTRI_SCRIPT");
    if (script && *script) {
        ScriptParseResult parsed = LoadScript(script);
        if (parsed.ok())
            window->SetScript(std::move(parsed.commands));
        else
            window->SetScriptError(parsed.error);
    }
    return window;
}

int PlatformWindow::RegisterMessage(const std::u16string& name) {
    static std::mutex mutex;
    static std::map<std::u16string, int> ids;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = ids.find(name);
    if (it != ids.end()) return it->second;
    int id = 0xC000 + static_cast<int>(ids.size());
    ids.emplace(name, id);
    return id;
}

PlatformWindow::~PlatformWindow() = default;

bool PlatformWindow::Open(const std::u16string& name, int screenW, int screenH, int baseUnit,
                          WindowProcedure* procedure) {
    screenWidth_ = areaWidth_ = screenW;
    screenHeight_ = areaHeight_ = screenH;
    baseUnit_ = baseUnit;
    screen_.Create(screenW, screenH, false);
    screen_.FillRaw(Rect{0, 0, screenW, screenH}, 0x0000);
    if (!OpenNative(platform::Utf16ToUtf8(name), screenW, screenH)) return false;
    procedure_ = procedure;
    WindowMessage create;
    create.type = WindowMessageType::kCreate;
    create.rect = Rect{0, 0, screenW, screenH};
    create.w = screenW;
    create.h = screenH;
    create.text = name;
    Send(create);
    return true;
}

void PlatformWindow::SetProgramArea(int w, int h) {
    areaWidth_ = w;
    areaHeight_ = h;
    if (BarShown()) DrawBar();
    WindowMessage size;
    size.type = WindowMessageType::kSize;
    size.w = w;
    size.h = h;
    Send(size);
}

void PlatformWindow::Show() {
    ShowNative();
    WindowMessage activate;
    activate.type = WindowMessageType::kActivate;
    activate.flag = true;
    Send(activate);
    WindowMessage focus;
    focus.type = WindowMessageType::kSetFocus;
    Send(focus);
    eraseNeeded_ = true;
    InvalidateRect(Rect{0, 0, areaWidth_, areaHeight_});
    DeliverPaint();  // the window is updated at once
}

void PlatformWindow::Destroy() {
    if (destroyed_ || !procedure_) return;
    destroyed_ = true;
    activityProbe_ = nullptr;  // it belongs to the application, which goes now
    WindowMessage destroy;
    destroy.type = WindowMessageType::kDestroy;
    WindowProcedure* procedure = procedure_;
    procedure_ = nullptr;
    procedure->WindowProc(*this, destroy);
    KillTimer(0);
}

void PlatformWindow::Send(const WindowMessage& message) {
    if (destroyed_ || !procedure_) return;
    if (message.type == WindowMessageType::kDestroy) {
        Destroy();
        return;
    }
    procedure_->WindowProc(*this, message);
}

void PlatformWindow::Post(const WindowMessage& message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(message);
    }
    Wake();
}

void PlatformWindow::PostQuit(int exitCode) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!quit_) exitCode_ = exitCode;
        quit_ = true;
    }
    Wake();
}

void PlatformWindow::PostClose() {
    WindowMessage close;
    close.type = WindowMessageType::kClose;
    Post(close);
}

int PlatformWindow::Run() {
    if (!scriptError_.empty()) FailScript(0, scriptError_);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (quit_) break;
        }
        if (DeliverQueued()) continue;
        if (DeliverPaint()) continue;
        if (ScriptReady()) {
            RunScriptCommand();
            continue;
        }
        WaitForEvents();
    }
    KillTimer(0);
    CloseNative();
    std::lock_guard<std::mutex> lock(mutex_);
    return failCode_ ? failCode_ : exitCode_;
}

bool PlatformWindow::DeliverQueued() {
    WindowMessage message;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.empty()) return false;
        message = std::move(queue_.front());
        queue_.pop_front();
    }
    if (message.type == WindowMessageType::kBringToFront)
        BringToFront();
    else if (message.type == WindowMessageType::kClose)
        Destroy();
    else
        Send(message);
    return true;
}

void PlatformWindow::InvalidateRect(const Rect& area) {
    Rect cut = area.Intersection(Rect{0, 0, areaWidth_, areaHeight_});
    if (cut.w <= 0 || cut.h <= 0) return;
    invalid_ = invalid_.Union(cut);
}

bool PlatformWindow::DeliverPaint() {
    if (invalid_.IsEmpty() || destroyed_) return false;
    Rect area = invalid_;
    invalid_ = Rect{};
    if (eraseNeeded_) {
        eraseNeeded_ = false;
        WindowMessage erase;
        erase.type = WindowMessageType::kEraseBackground;
        Send(erase);
    }
    WindowMessage paint;
    paint.type = WindowMessageType::kPaint;
    paint.rect = area;
    Send(paint);
    return true;
}

void PlatformWindow::Present(const Surface& surface, const Rect& area) {
    Rect cut = area.Intersection(Rect{0, 0, areaWidth_, areaHeight_})
                   .Intersection(Rect{0, 0, surface.width, surface.height});
    if (cut.w <= 0 || cut.h <= 0 || !surface.HasPixels()) return;
    for (int row = cut.y; row < cut.y + cut.h; ++row) {
        const uint16_t* from = &surface.pixels[static_cast<size_t>(row) * surface.width + cut.x];
        uint16_t* to = &screen_.pixels[static_cast<size_t>(row) * screenWidth_ + cut.x];
        std::copy(from, from + cut.w, to);
    }
    UploadScreen(cut);
}

// ---- the soft-key bar ----

bool PlatformWindow::CreateBar() {
    hasBar_ = true;
    bar_ = SoftKeyBar{};
    return true;
}

void PlatformWindow::DestroyBar() {
    hasBar_ = false;
}

void PlatformWindow::BarChanged() {
    if (BarShown()) DrawBar();
}

void PlatformWindow::DrawBar() {
    Rect area{0, areaHeight_, screenWidth_, screenHeight_ - areaHeight_};
    DrawSoftKeyBar(screen_, area, bar_, baseUnit_);
    UploadScreen(area);
}

// ---- input ----

void PlatformWindow::PointerDown(int x, int y, int clicks) {
    if (InBar(y)) {
        barPress_ = BarClickLeft(x) ? 0 : 1;
        return;
    }
    pointerDown_ = true;
    WindowMessage m;
    // The second press of a double click arrives as the double-click message instead.
    m.type = clicks >= 2 && clicks % 2 == 0 ? WindowMessageType::kDoubleClick
                                            : WindowMessageType::kMouseDown;
    m.x = x;
    m.y = y;
    Post(m);
}

// The handset only reports moves while the finger is down.
void PlatformWindow::PointerMove(int x, int y) {
    if (!pointerDown_) return;
    WindowMessage m;
    m.type = WindowMessageType::kMouseMove;
    m.x = x;
    m.y = y;
    Post(m);
}

void PlatformWindow::PointerUp(int x, int y) {
    if (barPress_ >= 0) {
        bool left = barPress_ == 0;
        barPress_ = -1;
        if (InBar(y) && BarClickLeft(x) == left) SoftKey(left);
        return;
    }
    if (!pointerDown_) return;
    pointerDown_ = false;
    WindowMessage m;
    m.type = WindowMessageType::kMouseUp;
    m.x = x;
    m.y = y;
    Post(m);
}

void PlatformWindow::KeyInput(int virtualKey) {
    // The soft keys belong to the bar, which sends its commands.
    if ((virtualKey == kVkF1 || virtualKey == kVkF2) && hasBar_) {
        SoftKey(virtualKey == kVkF1);
        return;
    }
    WindowMessage down;
    down.type = WindowMessageType::kKeyDown;
    down.code = virtualKey;
    Post(down);
    // As the handset's message translation does, Enter and Backspace also give characters.
    if (virtualKey == kVkReturn || virtualKey == kVkBack) {
        WindowMessage ch;
        ch.type = WindowMessageType::kChar;
        ch.code = virtualKey;
        Post(ch);
    }
}

void PlatformWindow::TextInput(const std::u16string& text) {
    for (char16_t unit : text) {
        WindowMessage ch;
        ch.type = WindowMessageType::kChar;
        ch.code = unit;
        Post(ch);
    }
}

void PlatformWindow::SoftKey(bool left) {
    if (!hasBar_ || !(left ? bar_.leftEnabled : bar_.rightEnabled)) return;
    WindowMessage command;
    command.type = WindowMessageType::kCommand;
    command.code = left ? kVkF1 : kVkF2;
    Post(command);
}

// ---- automation ----

void PlatformWindow::SetScript(std::vector<ScriptCommand> commands) {
    script_ = std::move(commands);
    scriptNext_ = 0;
    scripted_ = true;
}

bool PlatformWindow::Settled() {
    if (AnyWorkPending()) return false;
    if (activityProbe_) return !activityProbe_();
    return !TimerActive();
}

bool PlatformWindow::ScriptReady() const {
    return scripted_ && !destroyed_ && scriptWait_ == ScriptWait::kNone;
}

void PlatformWindow::FailScript(int line, const std::string& message) {
    if (line > 0)
        std::fprintf(stderr, "zentri: script line %d: %s\n", line, message.c_str());
    else
        std::fprintf(stderr, "zentri: script: %s\n", message.c_str());
    scripted_ = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        failCode_ = 2;
    }
    Destroy();
    PostQuit(2);
}

void PlatformWindow::RunScriptCommand() {
    if (scriptNext_ >= script_.size()) {  // the end of the script ends the program
        scripted_ = false;
        Destroy();
        PostQuit(0);
        return;
    }
    const ScriptCommand& c = script_[scriptNext_++];
    switch (c.kind) {
        case ScriptCommand::kTap:
            PointerDown(c.x, c.y, 1);
            PointerUp(c.x, c.y);
            break;
        case ScriptCommand::kDown:
            PointerDown(c.x, c.y, 1);
            break;
        case ScriptCommand::kMove:
            PointerMove(c.x, c.y);
            break;
        case ScriptCommand::kUp:
            PointerUp(c.x, c.y);
            break;
        case ScriptCommand::kKey:
            KeyInput(c.virtualKey);
            break;
        case ScriptCommand::kType:
            TextInput(platform::Utf8ToUtf16(c.text));
            break;
        case ScriptCommand::kSoftKey:
            if (!hasBar_) return FailScript(c.line, "there is no soft-key bar");
            SoftKey(c.left);
            break;
        case ScriptCommand::kWait:
            scriptUntilMs_ = NowMs() + static_cast<uint64_t>(c.ms);
            scriptWait_ = ScriptWait::kUntil;
            break;
        case ScriptCommand::kIdle:
            idleDeadline_ = std::chrono::steady_clock::now() +
                            std::chrono::milliseconds(c.ms >= 0 ? c.ms : kDefaultIdleLimitMs);
            scriptWait_ = ScriptWait::kIdle;
            break;
        case ScriptCommand::kShot:
            SaveShot(c);
            break;
        case ScriptCommand::kQuit:
            scripted_ = false;
            Destroy();
            PostQuit(0);
            break;
    }
}

void PlatformWindow::SaveShot(const ScriptCommand& command) {
    if (!SavePng(screen_, command.text)) FailScript(command.line, "cannot write " + command.text);
}

}  // namespace zentri
