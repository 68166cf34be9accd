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
//   shot FILE.png     the whole screen with the soft-key bar
//   quit
// Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentri {

struct ScriptCommand {
    enum Kind { kTap, kDown, kMove, kUp, kKey, kType, kSoftKey, kWait, kIdle, kShot, kQuit };

    Kind kind = kQuit;
    int line = 0;
    int x = 0;
    int y = 0;
    int virtualKey = 0;  // kKey
    bool left = false;   // kSoftKey
    int64_t ms = -1;     // kWait; kIdle (-1: the default limit)
    std::string text;    // kType (UTF-8), kShot (file name)
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
