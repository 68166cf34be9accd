#pragma once
// The keys the interface understands: virtual keys of the window system mapped to Key codes.

namespace zentri {

enum VirtualKey {
    kVkBack = 8,
    kVkReturn = 13,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkDelete = 46,
    kVkF1 = 112,  // also the left soft key's command
    kVkF2 = 113,  // also the right soft key's command
    kVkF3 = 114,
    kVkF4 = 115,
};

// The Key code of a virtual key, or -1 for keys the interface ignores. Characters are not
// virtual keys: they arrive as code 10 with the character.
int KeyCodeForVirtualKey(int virtualKey);

}  // namespace zentri
