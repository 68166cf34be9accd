#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Button {
    int id;
    const char* text;
};

// The buttons of a style, in the order the handset shows them.
std::vector<Button> ButtonsOf(unsigned style) {
    switch (style & 0x0F) {
        case kMbOkCancel:
            return {{kIdOk, "OK"}, {kIdCancel, "Cancel"}};
        case kMbYesNoCancel:
            return {{kIdYes, "Yes"}, {kIdNo, "No"}, {kIdCancel, "Cancel"}};
        case kMbYesNo:
            return {{kIdYes, "Yes"}, {kIdNo, "No"}};
        default:
            return {{kIdOk, "OK"}};
    }
}

bool Offers(unsigned style, int id) {
    for (const Button& b : ButtonsOf(style))
        if (b.id == id) return true;
    return false;
}

// "yes" is the affirmative button of the style (Yes, else OK), "no" the negative one (No, else
// Cancel); an answer the style does not offer is no answer.
int ScriptedAnswer(const std::string& answer, unsigned style) {
    int id = 0;
    if (answer == "yes") id = Offers(style, kIdYes) ? kIdYes : kIdOk;
    if (answer == "no") id = Offers(style, kIdNo) ? kIdNo : kIdCancel;
    return Offers(style, id) ? id : 0;
}

bool DisplayPresent() {
    const char* headless = std::getenv("ZENTRI_HEADLESS");
    if (headless && std::string(headless) == "1") return false;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

Uint32 IconFlags(unsigned style) {
    switch (style & 0xF0) {
        case kMbIconExclamation:
            return SDL_MESSAGEBOX_WARNING;
        case kMbIconQuestion:
        case kMbIconInformation:
            return SDL_MESSAGEBOX_INFORMATION;
        default:
            return 0;
    }
}

int AskOnDisplay(const std::string& text, const std::string& caption, unsigned style) {
    std::vector<Button> buttons = ButtonsOf(style);
    std::vector<SDL_MessageBoxButtonData> data;
    for (const Button& b : buttons)
        data.push_back({0, b.id, b.text});
    data.front().flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    // Closing the box is the last button's answer (No or Cancel), never the first's.
    data.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    SDL_MessageBoxData box{
        IconFlags(style), nullptr, caption.c_str(), text.c_str(), static_cast<int>(data.size()),
        data.data(),      nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return 0;
    return Offers(style, answer) ? answer : 0;
}

}  // namespace

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    std::string t(text), c(caption);
    if (const char* scripted = std::getenv("ZENTRI_MESSAGEBOX")) {
        int answer = ScriptedAnswer(scripted, style);
        if (answer == 0)
            std::fprintf(stderr, "message box \"%s\": ZENTRI_MESSAGEBOX=%s is no answer here\n",
                         c.c_str(), scripted);
        return answer;
    }
    if (DisplayPresent()) {
        if (int answer = AskOnDisplay(t, c, style)) return answer;
        std::fprintf(stderr, "message box \"%s\" could not be shown: %s\n", c.c_str(),
                     SDL_GetError());
        return 0;
    }
    std::fprintf(stderr,
                 "message box \"%s\" (%s): no display and no ZENTRI_MESSAGEBOX, no answer given\n",
                 c.c_str(), t.c_str());
    return 0;
}

}  // namespace platform
