// The device's message box without a display: scripted answers, and no answer at all.

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace zentri::test {
namespace {

using namespace platform;

TEST(MessageBox, ScriptedAnswersMapToTheButtonsTheStyleOffers) {
    ScopedEnv headless("ZENTRI_HEADLESS", "1");
    struct Case {
        const char* scripted;
        unsigned style;
        int answer;
    };
    for (Case c : {Case{"yes", kMbYesNo, kIdYes}, Case{"no", kMbYesNo | kMbIconQuestion, kIdNo},
                   Case{"yes", kMbOkCancel, kIdOk}, Case{"no", kMbOkCancel, kIdCancel},
                   Case{"no", kMbYesNoCancel, kIdNo}, Case{"yes", kMbOk, kIdOk},
                   Case{"no", kMbOk, 0}, Case{"maybe", kMbYesNo, 0}}) {
        ScopedEnv answer("ZENTRI_MESSAGEBOX", c.scripted);
        EXPECT_EQ(ShowMessageBox("Question?", "Info", c.style), c.answer)
            << c.scripted << " style " << c.style;
    }
}

TEST(MessageBox, WithoutDisplayOrScriptTheBoxCannotBeShown) {
    ScopedEnv headless("ZENTRI_HEADLESS", "1");
    ScopedEnv answer("ZENTRI_MESSAGEBOX", nullptr);
    EXPECT_EQ(ShowMessageBox("Question?", "Info", kMbYesNo), 0);
}

}  // namespace
}  // namespace zentri::test
