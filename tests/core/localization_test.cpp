#include "app/localization.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "platform/text.h"
#include "tests/support/temp_device.h"

namespace zentri {
namespace {

using test::ScopedEnv;
using test::TempDevice;

constexpr const char* kPath = "\\Program Files\\Zentri\\localization.xml";

const char* kFile = R"(<?xml version="1.0" encoding="utf-8"?>
<localization>
  <languages>
    <default name="en"/>
    <language id="0419" name="ru" title="Русский"/>
    <language id="0409" name="en" title="English"/>
    <other id="0000" name="zz" title="ignored element name"/>
    <language id="0407" name="de" title="Deutsch"/>
    <language id="0407" name="en" title="second en is ignored"/>
  </languages>
  <strings>
    <!-- a comment between entries -->
    <s id="14"><en val="Loading..."/><de val="Laden..."/><ru val="Загрузка..."/></s>
    <whatever id="1000"><en val="Sign in"/><de val="Anmelden"/></whatever>
    <s id="14"><en val="second text loses"/></s>
    <s id="7"><fr val="Erreur"/></s>
  </strings>
</localization>
)";

class LocalizationTest : public ::testing::Test {
  protected:
    void Write(const std::string& content) { device.WriteFile(kPath, content); }
    bool Load() { return Localization::Instance().Load(platform::Utf8ToUtf16(kPath)); }
    Localization& L() { return Localization::Instance(); }

    TempDevice device;
    ScopedEnv all{"LC_ALL", "en_US.UTF-8"};
};

TEST_F(LocalizationTest, LooksUpTextsInTheCurrentLanguageWithTheFallback) {
    Write(kFile);
    ASSERT_TRUE(Load());
    EXPECT_EQ(L().GetLanguage(), u"en");
    EXPECT_EQ(L().Get(14), u"Loading...");
    EXPECT_EQ(L().Get(1000), u"Sign in");
    EXPECT_EQ(L().Get(13001), u"STR_13001");
    EXPECT_EQ(L().Get(-5), u"STR_-5");
    ASSERT_TRUE(L().SetLanguage(u"ru"));
    EXPECT_EQ(L().Get(14), u"Загрузка...");
    EXPECT_EQ(L().Get(1000), u"STR_1000");
}

TEST_F(LocalizationTest, FirstDeclarationAndFirstTextWin) {
    Write(kFile);
    ASSERT_TRUE(Load());
    EXPECT_EQ(L().Languages().at(u"en").title, u"English");
    EXPECT_EQ(L().Get(14), u"Loading...");
    // An undeclared language name still gets an entry of its own.
    ASSERT_TRUE(L().Languages().count(u"fr"));
    EXPECT_EQ(L().Languages().at(u"fr").id, u"");
    EXPECT_FALSE(L().Languages().count(u"zz"));
}

TEST_F(LocalizationTest, LanguagesAreOrderedByName) {
    Write(kFile);
    ASSERT_TRUE(Load());
    std::vector<std::u16string> names;
    for (const auto& [name, language] : L().Languages())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"de", u"en", u"fr", u"ru"}));
}

TEST_F(LocalizationTest, TheSystemLocaleChoosesAnotherLanguageThanTheDefault) {
    Write(kFile);
    ScopedEnv german("LC_ALL", "de_DE.UTF-8");
    ASSERT_TRUE(Load());
    EXPECT_EQ(L().GetLanguage(), u"de");
    EXPECT_EQ(L().Get(14), u"Laden...");
    ScopedEnv french("LC_ALL", "fr_FR.UTF-8");  // no language with 040c: the default
    ASSERT_TRUE(Load());
    EXPECT_EQ(L().GetLanguage(), u"en");
}

TEST_F(LocalizationTest, UnknownSetLanguageChangesNothing) {
    Write(kFile);
    ASSERT_TRUE(Load());
    EXPECT_FALSE(L().SetLanguage(u"xx"));
    EXPECT_FALSE(L().SetLanguage(u"EN"));
    EXPECT_EQ(L().GetLanguage(), u"en");
}

TEST_F(LocalizationTest, UndeclaredDefaultBecomesCurrentAndAnswersFallbacks) {
    Write(R"(<localization><languages><default name="xx"/>
             <language id="0419" name="ru" title="R"/></languages>
             <strings><s id="1"><ru val="Да"/></s></strings></localization>)");
    ASSERT_TRUE(Load());
    EXPECT_EQ(L().GetLanguage(), u"xx");
    EXPECT_EQ(L().Get(1), u"STR_1");
}

TEST_F(LocalizationTest, MissingOrMalformedFilesFailQuietly) {
    EXPECT_FALSE(Load());  // no file
    EXPECT_EQ(L().Get(14), u"STR_14");

    const char* broken[] = {
        "not xml at all",
        "<localization><languages/></localization>",                                 // no default
        "<localization><languages><default/></languages></localization>",            // no name
        "<localization><languages><default name='en'/></languages></localization>",  // no strings
        "<localization><languages><default name='en'/><language id='0409' name='en'/></languages>"
        "<strings/></localization>",  // no title
        "<localization><languages><default name='en'/></languages>"
        "<strings><s><en val='x'/></s></strings></localization>",  // no id
        "<localization><languages><default name='en'/></languages>"
        "<strings><s id='1'><en/></s></strings></localization>",  // no val
        "<localization><languages><default name='en'/></languages>"
        "<strings><s id='1'>text<en val='x'/></s></strings></localization>",  // text child
        "<localization><languages><default name='en'/>",                      // truncated
    };
    for (const char* content : broken) {
        Write(content);
        EXPECT_FALSE(Load()) << content;
        EXPECT_EQ(L().Get(14), u"STR_14") << content;
    }
}

// The shipped file: every id the program uses, in every declared language, with matching
// placeholders, and the service address ending with "/".
TEST(ShippedLocalization, IsCompleteInEveryLanguage) {
    TempDevice device;
    std::ifstream in(test::SourceDir() / "resources" / "localization.xml", std::ios::binary);
    ASSERT_TRUE(in) << "resources/localization.xml is missing";
    std::stringstream content;
    content << in.rdbuf();
    device.WriteFile(kPath, content.str());
    Localization& l = Localization::Instance();
    ASSERT_TRUE(l.Load(platform::Utf8ToUtf16(kPath)));

    std::vector<int> ids;
    auto range = [&](int from, int to) {
        for (int i = from; i <= to; ++i)
            ids.push_back(i);
    };
    range(0, 14), range(1000, 1011), range(2000, 2004), range(3000, 3020), range(4000, 4009);
    range(5000, 5006), range(6000, 6001), range(7000, 7002), range(8000, 8008), range(9000, 9019);
    range(10000, 10006), range(11000, 11014), range(12000, 12011), range(13000, 13006);
    ids.insert(ids.end(), {202, 203, 999, 99999});

    std::vector<std::u16string> names;
    for (const auto& [name, language] : l.Languages())
        names.push_back(name);
    ASSERT_EQ(names, (std::vector<std::u16string>{u"de", u"en", u"ru"}));
    for (int id : ids) {
        std::multiset<std::u16string> placeholders[3];
        for (size_t n = 0; n < names.size(); ++n) {
            ASSERT_TRUE(l.SetLanguage(names[n]));
            std::u16string text = l.Get(id);
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_NE(text, u"STR_" + platform::IntToText(id)) << "id " << id << " missing";
            for (const char16_t* p : {u"--app--", u"--size--", u"--ver--", u"--br--"})
                for (size_t at = text.find(p); at != std::u16string::npos;
                     at = text.find(p, at + 1))
                    placeholders[n].insert(p);
        }
        EXPECT_EQ(placeholders[0], placeholders[1]) << "placeholders of id " << id;
        EXPECT_EQ(placeholders[0], placeholders[2]) << "placeholders of id " << id;
    }
    std::u16string base = l.Get(99999);
    EXPECT_EQ(base.rfind(u"http://", 0), 0u);
    EXPECT_EQ(base.back(), u'/');
}

}  // namespace
}  // namespace zentri
