#include "ui/platform/sdl_window.h"

#include <climits>
#include <cstdio>

#include "platform/text.h"
#include "ui/key_table.h"

namespace zentri {
namespace {

int VirtualKeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return kVkReturn;
        case SDLK_LEFT:
            return kVkLeft;
        case SDLK_UP:
            return kVkUp;
        case SDLK_RIGHT:
            return kVkRight;
        case SDLK_DOWN:
            return kVkDown;
        case SDLK_F1:
            return kVkF1;
        case SDLK_F2:
            return kVkF2;
        case SDLK_F3:
            return kVkF3;
        case SDLK_F4:
            return kVkF4;
        case SDLK_DELETE:
            return kVkDelete;
        case SDLK_BACKSPACE:
            return kVkBack;
        default:
            return 0;
    }
}

}  // namespace

SdlWindow::~SdlWindow() {
    CloseNative();
}

bool SdlWindow::OpenNative(const std::string& title, int w, int h) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "zentri: cannot open the display: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    sdlInitialized_ = true;
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w,
                               h, SDL_WINDOW_HIDDEN);
    if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (window_ && !renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_)
        texture_ =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, w, h);
    uint32_t events = SDL_RegisterEvents(2);
    if (!texture_ || events == UINT32_MAX) {
        std::fprintf(stderr, "zentri: cannot create the window: %s\n", SDL_GetError());
        CloseNative();
        return false;
    }
    timerEvent_ = events;
    wakeEvent_ = events + 1;
    {
        std::lock_guard<std::mutex> lock(eventsMutex_);
        eventsReady_ = true;
    }
    timer_ = std::make_unique<FrameTimer>([this] {
        if (!tickPending_.exchange(true)) PushUserEvent(timerEvent_);
    });
    SDL_StartTextInput();
    return true;
}

void SdlWindow::ShowNative() {
    SDL_ShowWindow(window_);
    UploadScreen(Rect{0, 0, ScreenWidth(), ScreenHeight()});
}

void SdlWindow::CloseNative() {
    timer_.reset();  // joins the timer thread
    if (!sdlInitialized_) return;
    sdlInitialized_ = false;
    {
        std::lock_guard<std::mutex> lock(eventsMutex_);
        eventsReady_ = false;
    }
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    SDL_StopTextInput();
    SDL_Quit();
}

bool SdlWindow::StartTimer(int id, int periodMs) {
    if (!timer_) return false;
    timerId_ = id;
    timerActive_ = true;
    timer_->Start(periodMs);
    return true;
}

void SdlWindow::KillTimer(int id) {
    (void)id;
    if (timer_) timer_->Stop();
    timerActive_ = false;
}

void SdlWindow::ShowErrorNative(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    // A script runs unattended: a modal box would stop it.
    if (!Scripted())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_);
}

void SdlWindow::BringToFront() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::SetMouseCapture(bool on) {
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::UploadScreen(const Rect& area) {
    if (!texture_) return;
    const Surface& screen = ScreenImage();
    Rect cut = area.Intersection(Rect{0, 0, screen.width, screen.height});
    if (cut.w <= 0 || cut.h <= 0) return;
    SDL_Rect r{cut.x, cut.y, cut.w, cut.h};
    const uint16_t* first = &screen.pixels[static_cast<size_t>(cut.y) * screen.width + cut.x];
    SDL_UpdateTexture(texture_, &r, first, screen.width * 2);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlWindow::PushUserEvent(uint32_t type) {
    std::lock_guard<std::mutex> lock(eventsMutex_);
    if (!eventsReady_) return;
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

void SdlWindow::Wake() {
    PushUserEvent(wakeEvent_);
}

void SdlWindow::WaitForEvents() {
    int timeout = -1;
    if (scriptWait_ == ScriptWait::kUntil) {
        uint64_t now = NowMs();
        if (now >= scriptUntilMs_) {
            scriptWait_ = ScriptWait::kNone;
            return;
        }
        timeout = static_cast<int>(std::min<uint64_t>(scriptUntilMs_ - now, INT_MAX));
    } else if (ConditionalWait()) {
        if (ConditionalWaitOver()) return;
        timeout = 10;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!QueueEmptyLocked() || QuitLocked()) return;
    }
    SDL_Event event;
    int got = timeout < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout);
    if (!got) return;
    Translate(event);
    while (SDL_PollEvent(&event))
        Translate(event);
}

void SdlWindow::PostSimple(WindowMessageType type, bool flag) {
    WindowMessage m;
    m.type = type;
    m.flag = flag;
    Post(m);
}

void SdlWindow::Translate(const SDL_Event& event) {
    if (event.type == timerEvent_) {
        tickPending_ = false;
        if (!TimerActive()) return;  // a tick that was on its way when the timer stopped
        WindowMessage tick;
        tick.type = WindowMessageType::kTimer;
        tick.code = timerId_;
        Post(tick);
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            Destroy();
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT)
                PointerDown(event.button.x, event.button.y, event.button.clicks);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) PointerUp(event.button.x, event.button.y);
            break;
        case SDL_MOUSEMOTION:
            PointerMove(event.motion.x, event.motion.y);
            break;
        case SDL_KEYDOWN:
            if (int vk = VirtualKeyOf(event.key.keysym.sym)) KeyInput(vk);
            break;
        case SDL_TEXTINPUT:
            TextInput(platform::Utf8ToUtf16(event.text.text));
            break;
        default:
            break;
    }
}

// Minimising plays the handset's switch to another program: the window loses the focus and
// painting pauses until it comes back.
void SdlWindow::TranslateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            UploadScreen(Rect{0, 0, ScreenWidth(), ScreenHeight()});
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            PostSimple(WindowMessageType::kKillFocus);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            // Back on screen: as the handset, the whole window is painted again.
            PostSimple(WindowMessageType::kSetFocus);
            InvalidateRect(Rect{0, 0, AreaWidth(), AreaHeight()});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            PostSimple(WindowMessageType::kActivate, true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            PostSimple(WindowMessageType::kActivate, false);
            break;
        default:
            break;
    }
}

}  // namespace zentri
