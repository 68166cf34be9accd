#include "ui/key_table.h"

#include "ui/touch.h"

namespace zentri {

int KeyCodeForVirtualKey(int virtualKey) {
    switch (virtualKey) {
        case kVkReturn:
            return Key::kEnter;
        case kVkLeft:
            return Key::kLeft;
        case kVkUp:
            return Key::kUp;
        case kVkRight:
            return Key::kRight;
        case kVkDown:
            return Key::kDown;
        case kVkF1:
            return Key::kLeftSoft;
        case kVkF2:
            return Key::kRightSoft;
        case kVkF3:
            return Key::kF3;
        case kVkF4:
            return Key::kF4;
        case kVkDelete:
            return Key::kDelete;
        default:
            return -1;
    }
}

}  // namespace zentri
