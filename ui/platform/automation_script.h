#pragma once
// The automation script that drives the window backend (ZENTRI_SCRIPT): one command a line.
//   tap X Y | down X Y | move X Y | up X Y     touches at window pixels (the soft-key bar lies
//                                               below the program's area)
//   key NAME          enter, left, up, right, down, f1 .. f4, delete, backspace
//   type TEXT         the rest of the line, typed as characters
//   softkey left|right
//   wait MS           lets MS of (virtual) time pass
//   idle [MS]         until nothing animates and no background work is pending, at most MS of
//                     real time
//   shot FILE.png     the whole screen with the soft-key bar, once pending repaints are done
//   quit
// Commands that find nodes by the text they draw (TEXT is the rest of the line; a TEXT ending
// in "*" matches every text that begins with what stands before it; a TEXT in double quotes
// may end in a number):
//   tap-text TEXT     taps the centre of the topmost visible node that draws TEXT
//   tap-edit N        taps the N-th visible edit box, from 1, top to bottom
//   wait-text TEXT [MS]  runs until such a node is visible, at most MS of real time (10 s)
//   expect-text TEXT / expect-no-text TEXT   fail unless / if such a node is visible now
//   drag X1 Y1 X2 Y2 MS  a finger move spread over MS of time in 40 ms steps
//   dump FILE         the visible nodes as text, one a line
// Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentri {

struct ScriptCommand {
    enum Kind {
        kTap,
        kDown,
        kMove,
        kUp,
        kKey,
        kType,
        kSoftKey,
        kWait,
        kIdle,
        kShot,
        kQuit,
        kTapText,
        kTapEdit,
        kWaitText,
        kExpectText,
        kExpectNoText,
        kDump,
    };

    // The real time a wait-text without a limit waits: answers come over the network.
    static constexpr int64_t kDefaultTextWaitMs = 10000;
    // The step of a drag's moves, one frame.
    static constexpr int kDragStepMs = 40;

    Kind kind = kQuit;
    int line = 0;
    int x = 0;
    int y = 0;
    int virtualKey = 0;  // kKey
    bool left = false;   // kSoftKey
    int64_t ms = -1;     // kWait; kIdle and kWaitText (-1: the default limit)
    int index = 0;       // kTapEdit, from 1
    std::string text;    // kType and the text commands (UTF-8), kShot and kDump (file name)
};

struct ScriptParseResult {
    std::vector<ScriptCommand> commands;
    std::string error;  // "line N: ..." when the script is invalid
    bool ok() const { return error.empty(); }
};

ScriptParseResult ParseScript(const std::string& text);

// Reads and parses a script file; a file that cannot be read is an error.
ScriptParseResult LoadScript(const std::string& path);

// The virtual key of a key name of the script, if it is one.
std::optional<int> ScriptKeyName(const std::string& name);

}  // namespace zentri
