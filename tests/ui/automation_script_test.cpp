#include <gtest/gtest.h>

#include <tuple>

#include "ui/key_table.h"
#include "ui/pending_work.h"
#include "ui/platform/automation_script.h"

namespace zentri {
namespace {

TEST(AutomationScript, ParsesEveryCommand) {
    ScriptParseResult r = ParseScript(
        "# comment\n"
        "tap 1 2\n"
        "  down -3 4\r\n"
        "move 5 6\n"
        "up 7 8\n"
        "\n"
        "key backspace\n"
        "type hello  world\n"
        "softkey right\n"
        "wait 120\n"
        "idle\n"
        "idle 500\n"
        "shot out dir/screen.png\n"
        "quit\n");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.commands.size(), 12u);
    EXPECT_EQ(r.commands[0].kind, ScriptCommand::kTap);
    EXPECT_EQ(r.commands[0].line, 2);
    EXPECT_EQ(r.commands[1].x, -3);
    EXPECT_EQ(r.commands[1].y, 4);
    EXPECT_EQ(r.commands[4].virtualKey, kVkBack);
    EXPECT_EQ(r.commands[5].text, "hello  world");
    EXPECT_FALSE(r.commands[6].left);
    EXPECT_EQ(r.commands[7].ms, 120);
    EXPECT_EQ(r.commands[8].ms, -1);
    EXPECT_EQ(r.commands[9].ms, 500);
    EXPECT_EQ(r.commands[10].text, "out dir/screen.png");
    EXPECT_EQ(r.commands[11].kind, ScriptCommand::kQuit);
}

TEST(AutomationScript, ErrorsNameTheirLine) {
    const char* bad[] = {"tap 1",      "tap 1 2 3", "tap x 2",  "key escape",          "key",
                         "softkey up", "wait",      "wait -5",  "idle soon",           "shot",
                         "quit now",   "type",      "jump 1 2", "tap 99999999999999 1"};
    for (const char* line : bad) {
        ScriptParseResult r = ParseScript(std::string("wait 1\n# fine\n") + line + "\nquit\n");
        EXPECT_FALSE(r.ok()) << line;
        EXPECT_EQ(r.error.rfind("line 3: ", 0), 0u) << line << " -> " << r.error;
        EXPECT_TRUE(r.commands.empty());
    }
    for (const char* name :
         {"enter", "left", "up", "right", "down", "f1", "f2", "f3", "f4", "delete", "backspace"})
        EXPECT_TRUE(ScriptKeyName(name).has_value()) << name;
    EXPECT_FALSE(LoadScript("/nonexistent/script").ok());
}

TEST(AutomationScript, TextCommandsAndDrag) {
    ScriptParseResult r = ParseScript(
        "tap-text Games(*\n"
        "wait-text Sign in\n"
        "wait-text Top 10 2500\n"
        "wait-text \"Top 10\"\n"
        "expect-no-text \"Error\"\n"
        "tap-edit 2\n"
        "dump out/tree.txt\n"
        "drag 0 0 100 200 120\n");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.commands.size(), 7u + 8u);
    EXPECT_EQ(r.commands[0].kind, ScriptCommand::kTapText);
    EXPECT_EQ(r.commands[0].text, "Games(*");
    EXPECT_EQ(r.commands[1].text, "Sign in");
    EXPECT_EQ(r.commands[1].ms, -1);
    EXPECT_EQ(r.commands[2].text, "Top 10");
    EXPECT_EQ(r.commands[2].ms, 2500);
    EXPECT_EQ(r.commands[3].text, "Top 10");
    EXPECT_EQ(r.commands[3].ms, -1);
    EXPECT_EQ(r.commands[4].kind, ScriptCommand::kExpectNoText);
    EXPECT_EQ(r.commands[5].index, 2);
    EXPECT_EQ(r.commands[6].text, "out/tree.txt");
    // The drag: down, three frames of 40 ms each ending with a move along the line, up.
    std::vector<std::tuple<int, int, int>> drag;
    for (size_t i = 7; i < r.commands.size(); ++i) {
        EXPECT_EQ(r.commands[i].line, 8);
        const ScriptCommand& c = r.commands[i];
        drag.emplace_back(c.kind, c.kind == ScriptCommand::kWait ? c.ms : c.x,
                          c.kind == ScriptCommand::kWait ? 0 : c.y);
    }
    using C = ScriptCommand;
    EXPECT_EQ(drag, (std::vector<std::tuple<int, int, int>>{{C::kDown, 0, 0},
                                                            {C::kWait, 40, 0},
                                                            {C::kMove, 33, 66},
                                                            {C::kWait, 40, 0},
                                                            {C::kMove, 66, 133},
                                                            {C::kWait, 40, 0},
                                                            {C::kMove, 100, 200},
                                                            {C::kUp, 100, 200}}));

    for (const char* bad : {"tap-text", "tap-text \"open", "expect-text \"a\" 5", "tap-edit 0",
                            "tap-edit x", "dump", "drag 1 2 3 4", "wait-text \"a\" soon"})
        EXPECT_FALSE(ParseScript(bad).ok()) << bad;
}

// Any blank the tokenizer skips makes a blank line, not a command without a name.
TEST(AutomationScript, LinesOfOtherBlanksAreBlankLines) {
    ScriptParseResult r = ParseScript("\f\ntap 1 2\n\v \t\n\fquit\v\n");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.commands.size(), 2u);
    EXPECT_EQ(r.commands[0].line, 2);
    EXPECT_EQ(r.commands[1].kind, ScriptCommand::kQuit);
    EXPECT_EQ(r.commands[1].line, 4);
}

TEST(PendingWork, CountsAndProbes) {
    EXPECT_FALSE(AnyWorkPending());
    WorkStarted();
    EXPECT_TRUE(AnyWorkPending());
    WorkFinished();
    bool busy = true;
    {
        WorkProbe probe([&] { return busy; });
        EXPECT_TRUE(AnyWorkPending());
        busy = false;
        EXPECT_FALSE(AnyWorkPending());
        busy = true;
        WorkProbe moved(std::move(probe));
        EXPECT_TRUE(AnyWorkPending());
    }
    EXPECT_FALSE(AnyWorkPending());  // the registration ended with its handle
}

}  // namespace
}  // namespace zentri
