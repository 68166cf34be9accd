// The edit box: keys, refused insertions, selection by drag, password and hint display, the
// caret's blink, the commit when the focus goes, and a rendering against the reference picture.

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/temp_device.h"
#include "tests/widgets/widget_support.h"
#include "ui/input_manager.h"
#include "ui/platform/png_writer.h"
#include "widgets/edit.h"
#include "widgets/image.h"
#include "widgets/label.h"

namespace zentri::test {
namespace {

using Edit = TEdit<TLabel<TImage<GObject>>>;

class EditBox : public Screen {
  protected:
    EditBox() {
        edit = Add<Edit>({10, 20, 200, 30});
        edit->SetFont(400, 20);
        edit->OnTextCommitted().Add([this](const std::u16string& t) { committed.push_back(t); });
    }
    ~EditBox() override { InputManager::Instance().Hide(); }

    void Type(std::u16string_view text) {
        for (char16_t c : text)
            server.DispatchKey(Key::kCharacter, c);
    }
    void Press(int code) { server.DispatchKey(code, 0); }
    // The screen x of the boundary before character i.
    int XOf(size_t i) {
        Font::Glyphs glyphs(*edit->GetFont());
        return edit->AbsRect().x + edit->TextRect().x +
               CharacterPositions(glyphs, edit->AutomationText())[i];
    }

    shared_ptr<Edit> edit;
    std::vector<std::u16string> committed;
};

TEST_F(EditBox, KeysEditAtTheCaretAndEnterCommits) {
    edit->SetFocused(true);
    EXPECT_TRUE(InputManager::Instance().IsShown());
    Type(u"abcd");
    Press(Key::kLeft);
    Press(Key::kLeft);
    Type(u"\bX");  // backspace takes the b
    EXPECT_EQ(edit->Text(), u"aXcd");
    Press(Key::kDelete);  // the c
    Press(Key::kRight);
    Press(Key::kRight);   // stays at the end
    Press(Key::kDelete);  // nothing after the caret
    Type(u"\t\r\n");      // not text
    EXPECT_EQ(edit->Text(), u"aXd");
    EXPECT_EQ(edit->Cursor(), 3u);
    for (int i = 0; i < 5; ++i)
        Press(Key::kLeft);
    EXPECT_EQ(edit->Cursor(), 0u);
    Type(u"\f");  // empties the box
    EXPECT_EQ(edit->Text(), u"");
    Type(u"ok");
    Press(Key::kEnter);
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_EQ(server.Focus(), nullptr);
    EXPECT_FALSE(InputManager::Instance().IsShown());
    EXPECT_EQ(committed, (std::vector<std::u16string>{u"ok"}));
    Type(u"z");  // no longer editing
    EXPECT_EQ(edit->Text(), u"ok");
}

TEST_F(EditBox, InsertionsAreRefusedBeyondTheWidthTheLengthAndTheNumericRule) {
    edit->SetFocused(true);
    Type(std::u16string(100, u'W'));
    size_t fitted = edit->Text().size();
    EXPECT_GT(fitted, 3u);
    EXPECT_LT(edit->TextWidth(), edit->TextRect().w);
    edit->SetText(std::u16string(fitted - 1, u'W'));
    Type(u"W");
    EXPECT_EQ(edit->Text().size(), fitted);  // the last that fits is taken

    edit->SetText(u"");
    edit->SetMaxLength(3);
    Type(u"12345");
    EXPECT_EQ(edit->Text(), u"123");

    edit->SetMaxLength(10);
    edit->SetText(u"");
    edit->SetNumeric(true);
    Type(u"12.5.a7,");
    EXPECT_EQ(edit->Text(), u"12.57");
    edit->Select(2, 3);  // replacing the point with another is allowed
    Type(u".");
    EXPECT_EQ(edit->Text(), u"12.57");
}

TEST_F(EditBox, DraggingAFingerSelectsAndTypingReplacesTheSelection) {
    edit->SetText(u"abcdef");
    Send(Touch::kDown, XOf(1), 30);
    EXPECT_TRUE(edit->IsFocused());
    EXPECT_EQ(edit->Cursor(), 1u);
    Send(Touch::kMove, XOf(3) + 1, 30);
    Send(Touch::kMove, 300, 30);  // beyond the box: still the box's, to the end
    EXPECT_EQ(edit->SelectionEnd(), 6u);
    Send(Touch::kUp, XOf(4) - 1, 30);
    EXPECT_EQ(edit->SelectionStart(), 1u);
    EXPECT_EQ(edit->SelectionEnd(), 4u);
    EXPECT_EQ(edit->Cursor(), 4u);
    EXPECT_EQ(server.CurrentTouch().capture, nullptr);
    Type(u"X");
    EXPECT_EQ(edit->Text(), u"aXef");
    EXPECT_EQ(edit->Cursor(), 2u);
    EXPECT_FALSE(edit->HasSelection());
    server.DispatchTouch(Touch::kDoubleClick, XOf(1), 30);
    Send(Touch::kUp, XOf(1), 30);
    EXPECT_EQ(edit->SelectionEnd() - edit->SelectionStart(), 4u);
    Press(Key::kDelete);
    EXPECT_EQ(edit->Text(), u"");
}

TEST_F(EditBox, PasswordShowsMaskCharactersAndAnEmptyBoxItsHint) {
    edit->SetPassword(true);
    edit->SetHint(u"Password");
    EXPECT_EQ(edit->AutomationText(), u"Password");
    EXPECT_TRUE(edit->IsEditBox());
    edit->SetText(u"s\U0001F511c");  // a surrogate pair is one character
    EXPECT_EQ(edit->AutomationText(), u"***");
    edit->SetFocused(true);
    Press(Key::kLeft);
    Type(u"\b");
    EXPECT_EQ(edit->Text(), u"sc");
    // The hint is drawn in its own colour; the masked text in the text colour.
    edit->SetText(u"");
    edit->SetHintColor(Color{255, 0, 0});
    edit->SetFocused(false);
    shared_ptr<WMSurface> s = Render();
    bool reddish = false;
    for (uint16_t p : s->pixels)
        reddish |= (p >> 11) == 31 && (p & 0x7FF) < 0x400;
    EXPECT_TRUE(reddish);
}

TEST_F(EditBox, TheCaretBlinksWhileFocusedAndRestartsWithEveryKey) {
    edit->SetFocused(true);
    std::vector<int> opacity{edit->CaretOpacity()};
    for (int i = 0; i < 3; ++i) {
        server.Frame();
        opacity.push_back(edit->CaretOpacity());
    }
    EXPECT_EQ(opacity, (std::vector<int>{255, 251, 242, 228}));
    server.Frames(12);
    EXPECT_EQ(edit->CaretOpacity(), 0);
    server.Frames(15);
    EXPECT_EQ(edit->CaretOpacity(), 255);  // and back
    server.Frames(5);
    Type(u"a");
    EXPECT_EQ(edit->CaretOpacity(), 255);
    server.Frame();
    EXPECT_EQ(edit->CaretOpacity(), 251);
    EXPECT_EQ(server.AnimatorCount(), 1u);
    edit->SetFocused(false);
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(EditBox, ANumericBoxAsksForTheCustomKeyboard) {
    edit->SetNumeric(true);
    int queried = 0;
    InputManager::Instance().OnQueryCustomKeyboard().Add([&](Rect&) { ++queried; });
    edit->SetFocused(true);
    EXPECT_TRUE(InputManager::Instance().IsCustom());
    EXPECT_EQ(queried, 1);
    InputManager::Instance().Hide();
    InputManager::Instance().OnQueryCustomKeyboard().Clear();
}

// A focused box with a selection and the caret, on a framed background, against the committed
// reference picture. ZENTRI_UPDATE_REFERENCE=1 writes the reference instead.
TEST_F(EditBox, RenderingMatchesTheReference) {
    shared_ptr<WMSurface> frame(new WMSurface);
    frame->Create(200, 30, false);
    frame->FillRect(0, 0, 200, 30, Color{120, 130, 150}, 255);
    frame->FillRect(1, 1, 198, 28, Color{250, 250, 245}, 255);
    edit->AddImage(0, frame);
    edit->ShowImage(0);
    edit->SetTextPadding(8, 0, 8, 0);
    edit->SetFormat(TextFormat::VCenter);
    edit->SetText(u"Zentri edit");
    edit->SetFocused(true);
    edit->Select(2, 6);
    shared_ptr<WMSurface> screen = Render();
    shared_ptr<WMSurface> rendered(new WMSurface);  // the box and a margin around it
    rendered->Create(220, 50, false);
    rendered->Blit(0, 0, 220, 50, *screen, 0, 10);

    std::filesystem::path out = BuildDir() / "widget-render" / "edit.png";
    std::filesystem::create_directories(out.parent_path());
    ASSERT_TRUE(SavePng(*rendered, out));
    std::filesystem::path reference = SourceDir() / "tests/widgets/reference/edit.png";
    if (const char* update = std::getenv("ZENTRI_UPDATE_REFERENCE"); update && *update == '1') {
        std::filesystem::create_directories(reference.parent_path());
        ASSERT_TRUE(SavePng(*rendered, reference));
        GTEST_SKIP() << "reference written to " << reference;
    }
    std::ifstream in(reference, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    WMSurface expected;
    ASSERT_TRUE(expected.LoadBuffer(bytes.data(), bytes.size())) << reference;
    ASSERT_EQ(expected.width, rendered->width);
    ASSERT_EQ(expected.height, rendered->height);
    // Another FreeType's anti-aliasing passes; a moved caret or selection does not.
    int far = 0;
    for (size_t i = 0; i < rendered->pixels.size(); ++i) {
        Color a = From565(rendered->pixels[i]), b = From565(expected.pixels[i]);
        far += std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) > 48;
    }
    EXPECT_LT(far, 40) << "see " << out;
}

}  // namespace
}  // namespace zentri::test
