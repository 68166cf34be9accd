#include "ui/platform/platform_window.h"

#include <algorithm>
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
    activityProbe_ = nullptr;  // the probes belong to the application, which goes now
    treeProbe_ = nullptr;
    shotPainter_ = nullptr;
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

bool PlatformWindow::ConditionalWaitOver() {
    const ScriptCommand& c = script_[waitingCommand_];
    bool met =
        scriptWait_ == ScriptWait::kIdle ? Settled() : FindText(VisibleNodes(), c.text) != nullptr;
    bool late = !met && std::chrono::steady_clock::now() >= idleDeadline_;
    if (met || late) scriptWait_ = ScriptWait::kNone;
    waitTimedOut_ = late;
    return met || late;
}

bool PlatformWindow::ScriptReady() const {
    return scripted_ && !destroyed_ && scriptWait_ == ScriptWait::kNone;
}

void PlatformWindow::ShowError(const std::string& title, const std::string& text) {
    ShowErrorNative(title, text);
    if (!scripted_) return;
    // The program closes its window after an error; the script's run has failed with it.
    int line = scriptNext_ > 0 ? script_[scriptNext_ - 1].line : 0;
    std::fprintf(stderr, "zentri: script line %d: the program showed \"%s\": %s\n", line,
                 title.c_str(), text.c_str());
    scripted_ = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        failCode_ = 2;
    }
    PostQuit(2);
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
    if (waitTimedOut_) {
        waitTimedOut_ = false;
        const ScriptCommand& w = script_[waitingCommand_];
        if (w.kind == ScriptCommand::kIdle)
            return FailScript(w.line, "idle reached its limit with the screen still changing");
        return FailScript(w.line, "no visible node draws \"" + w.text + "\"");
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
            waitingCommand_ = scriptNext_ - 1;
            scriptWait_ = ScriptWait::kIdle;
            break;
        case ScriptCommand::kShot:
            SaveShot(c);
            break;
        case ScriptCommand::kTapText:
        case ScriptCommand::kWaitText:
        case ScriptCommand::kExpectText:
        case ScriptCommand::kExpectNoText:
            RunTextCommand(c);
            break;
        case ScriptCommand::kTapEdit:
            TapEdit(c);
            break;
        case ScriptCommand::kDump:
            Dump(c);
            break;
        case ScriptCommand::kQuit:
            scripted_ = false;
            Destroy();
            PostQuit(0);
            break;
    }
}

void PlatformWindow::SaveShot(const ScriptCommand& command) {
    if (shotPainter_) shotPainter_(true);
    bool saved = SavePng(screen_, command.text);
    if (shotPainter_) shotPainter_(false);
    if (!saved) FailScript(command.line, "cannot write " + command.text);
}

std::vector<AutomationNode> PlatformWindow::VisibleNodes() {
    return treeProbe_ ? treeProbe_() : std::vector<AutomationNode>{};
}

const AutomationNode* PlatformWindow::FindText(const std::vector<AutomationNode>& nodes,
                                               const std::string& pattern) const {
    std::u16string wide = platform::Utf8ToUtf16(pattern);
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        if (!it->text.empty() && TextMatches(it->text, wide)) return &*it;
    return nullptr;
}

void PlatformWindow::TapCentre(const Rect& r) {
    int x = r.x + r.w / 2, y = r.y + r.h / 2;
    PointerDown(x, y, 1);
    PointerUp(x, y);
}

void PlatformWindow::RunTextCommand(const ScriptCommand& command) {
    std::vector<AutomationNode> nodes = VisibleNodes();
    const AutomationNode* found = FindText(nodes, command.text);
    std::string quoted = "\"" + command.text + "\"";
    switch (command.kind) {
        case ScriptCommand::kTapText:
            if (!found) return FailScript(command.line, "no visible node draws " + quoted);
            return TapCentre(found->rect);
        case ScriptCommand::kExpectText:
            if (!found) return FailScript(command.line, "no visible node draws " + quoted);
            return;
        case ScriptCommand::kExpectNoText:
            if (found) return FailScript(command.line, "a visible node draws " + quoted);
            return;
        default:  // wait-text
            if (found) return;
            idleDeadline_ = std::chrono::steady_clock::now() +
                            std::chrono::milliseconds(
                                command.ms >= 0 ? command.ms : ScriptCommand::kDefaultTextWaitMs);
            waitingCommand_ = scriptNext_ - 1;
            scriptWait_ = ScriptWait::kText;
    }
}

void PlatformWindow::TapEdit(const ScriptCommand& command) {
    std::vector<AutomationNode> edits;
    for (AutomationNode& node : VisibleNodes())
        if (node.edit) edits.push_back(std::move(node));
    std::stable_sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) {
        return a.rect.y != b.rect.y ? a.rect.y < b.rect.y : a.rect.x < b.rect.x;
    });
    if (command.index > static_cast<int>(edits.size()))
        return FailScript(command.line, "there are " + std::to_string(edits.size()) +
                                            " visible edit boxes, not " +
                                            std::to_string(command.index));
    TapCentre(edits[static_cast<size_t>(command.index - 1)].rect);
}

void PlatformWindow::Dump(const ScriptCommand& command) {
    std::string text = FormatNodes(VisibleNodes());
    FILE* file = std::fopen(command.text.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) FailScript(command.line, "cannot write " + command.text);
}

}  // namespace zentri
