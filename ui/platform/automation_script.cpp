#include "ui/platform/automation_script.h"

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

// Parses one non-empty, non-comment line; returns an error text or "".
std::string ParseLine(const std::string& line, ScriptCommand& cmd) {
    std::vector<std::string> t = Tokens(line);
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
    return "unknown command \"" + name + "\"";
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
        std::string error = ParseLine(trimmed, cmd);
        if (!error.empty()) {
            result.error = "line " + std::to_string(number) + ": " + error;
            result.commands.clear();
            return result;
        }
        result.commands.push_back(std::move(cmd));
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
