#include "ui/platform/automation_script.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ui/key_table.h"

namespace zentri {
namespace {

// A whole decimal number of at most nine digits (optionally negative), so that it fits an int;
// nothing else on the token.
bool ParseNumber(const std::string& token, int64_t& out) {
    if (token.empty()) return false;
    size_t i = token[0] == '-' ? 1 : 0;
    if (i == token.size() || token.size() - i > 9) return false;
    int64_t value = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
        value = value * 10 + (token[i] - '0');
    }
    out = token[0] == '-' ? -value : value;
    return true;
}

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;)
        tokens.push_back(t);
    return tokens;
}

// The same blanks that separate tokens, so that a line left non-empty always has a first token.
constexpr const char* kBlanks = " \t\r\n\f\v";

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

// The rest of the line after the command's name and one blank.
std::string Rest(const std::string& line, const std::string& name) {
    size_t at = name.size();
    if (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    std::string rest = at < line.size() ? line.substr(at) : "";
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    return rest;
}

// TEXT, or "TEXT" in double quotes; for wait-text also an optional limit after it, which a
// text without quotes gives as its last blank-separated word.
std::string ParseText(const std::string& rest, bool takesLimit, ScriptCommand& cmd) {
    std::string text = Trim(rest);
    std::string tail;
    if (!text.empty() && text[0] == '"') {
        size_t close = text.find('"', 1);
        if (close == std::string::npos) return "the text has no closing double quote";
        tail = Trim(text.substr(close + 1));
        text = text.substr(1, close - 1);
    } else if (takesLimit) {
        size_t blank = text.find_last_of(kBlanks);
        int64_t ms = 0;
        if (blank != std::string::npos && ParseNumber(text.substr(blank + 1), ms)) {
            tail = text.substr(blank + 1);
            text = Trim(text.substr(0, blank));
        }
    }
    if (text.empty()) return "needs a text";
    if (!tail.empty()) {
        if (!takesLimit || !ParseNumber(tail, cmd.ms) || cmd.ms < 0)
            return takesLimit ? "takes a number of milliseconds after the text" : "takes one text";
    }
    cmd.text = text;
    return "";
}

// A drag is the finger's down, a move each frame along the straight line, and the up.
std::string ParseDrag(const std::vector<std::string>& t, ScriptCommand cmd,
                      std::vector<ScriptCommand>& out) {
    int64_t v[5] = {};
    if (t.size() != 6) return "drag needs X1 Y1 X2 Y2 MS";
    for (int i = 0; i < 5; ++i)
        if (!ParseNumber(t[i + 1], v[i])) return "drag needs X1 Y1 X2 Y2 MS";
    if (v[4] < 0) return "drag needs 0 or more milliseconds";
    int64_t steps = std::max<int64_t>(1, v[4] / ScriptCommand::kDragStepMs);
    auto at = [&](ScriptCommand::Kind kind, int64_t x, int64_t y) {
        cmd.kind = kind;
        cmd.x = static_cast<int>(x);
        cmd.y = static_cast<int>(y);
        out.push_back(cmd);
    };
    at(ScriptCommand::kDown, v[0], v[1]);
    for (int64_t i = 1; i <= steps; ++i) {
        ScriptCommand wait = cmd;
        wait.kind = ScriptCommand::kWait;
        wait.ms = ScriptCommand::kDragStepMs;
        out.push_back(wait);
        at(ScriptCommand::kMove, v[0] + (v[2] - v[0]) * i / steps,
           v[1] + (v[3] - v[1]) * i / steps);
    }
    at(ScriptCommand::kUp, v[2], v[3]);
    return "";
}

// The commands that name a text or a file.
std::string ParseTextCommand(const std::string& line, const std::string& name, ScriptCommand& cmd) {
    static const struct {
        const char* name;
        ScriptCommand::Kind kind;
    } kTextCommands[] = {{"tap-text", ScriptCommand::kTapText},
                         {"wait-text", ScriptCommand::kWaitText},
                         {"expect-text", ScriptCommand::kExpectText},
                         {"expect-no-text", ScriptCommand::kExpectNoText}};
    for (const auto& c : kTextCommands) {
        if (name != c.name) continue;
        cmd.kind = c.kind;
        std::string error = ParseText(Rest(line, name), c.kind == ScriptCommand::kWaitText, cmd);
        return error.empty() ? "" : name + " " + error;
    }
    return "unknown command \"" + name + "\"";
}

// Parses a line that is one command; returns an error text or "".
std::string ParseSingle(const std::string& line, const std::vector<std::string>& t,
                        ScriptCommand& cmd) {
    const std::string& name = t[0];
    auto point = [&](ScriptCommand::Kind kind) -> std::string {
        int64_t x = 0, y = 0;
        if (t.size() != 3 || !ParseNumber(t[1], x) || !ParseNumber(t[2], y))
            return name + " needs two whole numbers X Y";
        cmd.kind = kind;
        cmd.x = static_cast<int>(x);
        cmd.y = static_cast<int>(y);
        return "";
    };
    if (name == "tap") return point(ScriptCommand::kTap);
    if (name == "down") return point(ScriptCommand::kDown);
    if (name == "move") return point(ScriptCommand::kMove);
    if (name == "up") return point(ScriptCommand::kUp);
    if (name == "key") {
        std::optional<int> vk = t.size() == 2 ? ScriptKeyName(t[1]) : std::nullopt;
        if (!vk) return "key needs one of enter, left, up, right, down, f1-f4, delete, backspace";
        cmd.kind = ScriptCommand::kKey;
        cmd.virtualKey = *vk;
        return "";
    }
    if (name == "type") {
        // The text is the rest of the line after one separating blank.
        size_t at = line.find("type") + 4;
        if (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        cmd.kind = ScriptCommand::kType;
        cmd.text = at < line.size() ? line.substr(at) : "";
        if (!cmd.text.empty() && cmd.text.back() == '\r') cmd.text.pop_back();
        if (cmd.text.empty()) return "type needs a text";
        return "";
    }
    if (name == "softkey") {
        if (t.size() != 2 || (t[1] != "left" && t[1] != "right"))
            return "softkey needs left or right";
        cmd.kind = ScriptCommand::kSoftKey;
        cmd.left = t[1] == "left";
        return "";
    }
    if (name == "wait" || name == "idle") {
        int64_t ms = -1;
        bool optional = name == "idle";
        if (t.size() > 2 || (t.size() == 1 && !optional) ||
            (t.size() == 2 && (!ParseNumber(t[1], ms) || ms < 0)))
            return name + (optional ? " takes an optional" : " needs a") +
                   " number of milliseconds (0 or more)";
        cmd.kind = optional ? ScriptCommand::kIdle : ScriptCommand::kWait;
        cmd.ms = ms;
        return "";
    }
    if (name == "shot") {
        std::string file = Trim(line.substr(line.find("shot") + 4));
        if (file.empty()) return "shot needs a file name";
        cmd.kind = ScriptCommand::kShot;
        cmd.text = file;
        return "";
    }
    if (name == "quit") {
        if (t.size() != 1) return "quit takes no arguments";
        cmd.kind = ScriptCommand::kQuit;
        return "";
    }
    if (name == "tap-edit") {
        int64_t n = 0;
        if (t.size() != 2 || !ParseNumber(t[1], n) || n < 1)
            return "tap-edit needs the number of an edit box, from 1";
        cmd.kind = ScriptCommand::kTapEdit;
        cmd.index = static_cast<int>(n);
        return "";
    }
    if (name == "dump") {
        std::string file = Trim(Rest(line, name));
        if (file.empty()) return "dump needs a file name";
        cmd.kind = ScriptCommand::kDump;
        cmd.text = file;
        return "";
    }
    return ParseTextCommand(line, name, cmd);
}

// Parses one non-empty, non-comment line into its commands; returns an error text or "".
std::string ParseLine(const std::string& line, ScriptCommand& cmd,
                      std::vector<ScriptCommand>& out) {
    std::vector<std::string> t = Tokens(line);
    const std::string& name = t[0];
    if (name == "drag") return ParseDrag(t, cmd, out);
    std::string error = ParseSingle(line, t, cmd);
    if (error.empty()) out.push_back(cmd);
    return error;
}

}  // namespace

std::optional<int> ScriptKeyName(const std::string& name) {
    static const struct {
        const char* name;
        int vk;
    } kKeys[] = {{"enter", kVkReturn},  {"left", kVkLeft},     {"up", kVkUp},
                 {"right", kVkRight},   {"down", kVkDown},     {"f1", kVkF1},
                 {"f2", kVkF2},         {"f3", kVkF3},         {"f4", kVkF4},
                 {"delete", kVkDelete}, {"backspace", kVkBack}};
    for (const auto& k : kKeys)
        if (name == k.name) return k.vk;
    return std::nullopt;
}

ScriptParseResult ParseScript(const std::string& text) {
    ScriptParseResult result;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        ScriptCommand cmd;
        cmd.line = number;
        std::string error = ParseLine(trimmed, cmd, result.commands);
        if (!error.empty()) {
            result.error = "line " + std::to_string(number) + ": " + error;
            result.commands.clear();
            return result;
        }
    }
    return result;
}

ScriptParseResult LoadScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ScriptParseResult result;
        result.error = "cannot read the script " + path;
        return result;
    }
    std::ostringstream s;
    s << in.rdbuf();
    return ParseScript(s.str());
}

}  // namespace zentri
