#pragma once
// The input records that travel through the object tree: the one touch of the UI server, kept
// between events, and a key.

#include <cstdint>
#include <vector>

#include "ui/gobject.h"

namespace zentri {

struct TouchPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TouchPoint&) const = default;
};

struct Touch {
    enum Type { kDown = 0, kUp = 1, kMove = 2, kDoubleClick = 4, kClick = 5 };

    int type = kDown;
    uint32_t downTime = 0;  // tick count (ms) of the last down or double-click
    bool cancelled = false;
    // Set by a TouchSeen handler to keep the current event from the node's children; cleared
    // at every event. Handlers receive the touch as const, so the two fields they may change
    // are mutable.
    mutable bool consumed = false;
    // References the engine keeps between events.
    GObjectPtr dragged;
    GObjectPtr dropTarget;
    GObjectPtr pressed;
    GObjectPtr downTarget;
    GObjectPtr lastTarget;
    // While set, this node alone receives the events (a scroll view or an edit box captures).
    mutable GObjectPtr capture;
    std::vector<TouchPoint> trail;  // screen pixels; the current point is the last
    int savedId = -1;               // the dragged node's id while it lies in the root

    TouchPoint Current() const { return trail.empty() ? TouchPoint{} : trail.back(); }
};

struct Key {
    // 0 enter, 1 left, 2 up, 3 right, 4 down, 5 left soft key (F1), 6 right soft key (F2),
    // 7 F3, 8 F4, 9 delete, 10 a character.
    enum Code {
        kEnter = 0,
        kLeft = 1,
        kUp = 2,
        kRight = 3,
        kDown = 4,
        kLeftSoft = 5,
        kRightSoft = 6,
        kF3 = 7,
        kF4 = 8,
        kDelete = 9,
        kCharacter = 10
    };

    int code = 0;
    int character = 0;  // the character (a UTF-16 unit) for code 10, else 0
};

}  // namespace zentri
