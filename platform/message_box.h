#pragma once
// The device's message box, for code that runs outside the client's window (a package's setup
// library): a question with the handset's buttons, answered by the user in a window of its own
// when a display is there. Without a display the answer comes from $ZENTRI_MESSAGEBOX ("yes" or
// "no"), so that scripted installs and removals are repeatable; with neither, the box cannot be
// shown, the call answers 0 and a line on stderr says so, and the caller takes its default
// answer, which must never be the destructive one.

#include <string_view>

namespace platform {

// Style bits and answers by the handset's numbers.
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbYesNoCancel = 0x03;
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbIconInformation = 0x40;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows the box (texts in UTF-8) and waits for the answer: one of the kId values the style
// offers, or 0 when the box could not be shown.
int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style);

}  // namespace platform
