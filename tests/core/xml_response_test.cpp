#include "net/xml_response.h"

#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "manager/app.h"
#include "net/xml_response_appdetails.h"
#include "net/xml_response_auth.h"
#include "net/xml_response_cats.h"
#include "net/xml_response_getapps.h"
#include "net/xml_response_reviews.h"
#include "net/xml_response_tags.h"
#include "tests/core/session_support.h"

namespace zentri {
namespace {

// An answer with the given result code and data part.
std::string Answer(const std::string& data, const std::string& code = "0") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<kestro-api>\n  <result code=\"" + code +
           "\"/>\n" + data + "\n</kestro-api>\n";
}

const char* kApp =
    R"(id="17" name="Pocket Notes" com="Acme" icon="http://cdn.example.test/i/17.png" )"
    R"(type="free" catid="4" rate="3.75" rates="12" reviews="5" views="900" downloads="321" )"
    R"(version="1.2 beta" revision="6" sysid="Acme Pocket Notes" exe="notes.exe" )"
    R"(install="notes.cab" createtime="4000000000")";

class XMLResponseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ResetSession();
        Kestro::Instance().app = &app;
    }
    void TearDown() override { test::ResetSession(); }

    test::RecordingApp app;
};

TEST_F(XMLResponseTest, ResultCodes) {
    XMLResponse plain;
    EXPECT_EQ(plain.Parse(Answer("")), 0);
    EXPECT_EQ(plain.Parse(Answer("", "202")), 202);
    EXPECT_EQ(plain.Parse(Answer("", "-7")), -7);
    EXPECT_EQ(plain.Parse(Answer("", "abc")), 0);  // not a number: success
    EXPECT_EQ(plain.Parse(Answer("", "")), 0);
    EXPECT_EQ(app.popsToLogin, 0);

    const char* unreadable[] = {
        "",
        "Internal Server Error",
        "<html><body>502 Bad Gateway</body></html>",
        "<kestro-api></kestro-api>",                           // no result
        "<kestro-api><result/></kestro-api>",                  // no code
        "<kestro-api><result code='0'></kestro-api>",          // not well-formed
        "<other><result code='0'/></other>",                   // another root
        "<result code='0'/>",                                  // result without the root
        "<kestro-api><x><result code='0'/></x></kestro-api>",  // result not a child of the root
        // Not one document: warnings around it, a second root.
        "Warning: x<kestro-api><result code='0'/></kestro-api>",
        "<kestro-api><result code='0'/></kestro-api>\n<b>Warning</b>: y on line <b>3</b><br />",
        "<kestro-api><result code='0'/></kestro-api><kestro-api/>",
    };
    for (const char* body : unreadable)
        EXPECT_EQ(plain.Parse(body), 999) << body;
    EXPECT_EQ(plain.Parse(nullptr, 0), 999);
}

TEST_F(XMLResponseTest, SessionExpiryReturnsToSignInBeforeTheCodeIsReturned) {
    std::u16string session = u"old";
    XMLResponse_Auth auth(session);
    EXPECT_EQ(auth.Parse(Answer("<auth id=\"new\"/>", "203")), 203);
    EXPECT_EQ(app.popsToLogin, 1);
    EXPECT_EQ(session, u"old");  // the data part is not read
    XMLResponse_Config config;
    EXPECT_EQ(config.Parse(Answer("", "203")), 203);
    EXPECT_EQ(app.popsToLogin, 2);

    Kestro::Instance().app = nullptr;  // no application yet: just the code
    EXPECT_EQ(config.Parse(Answer("", "203")), 203);
    EXPECT_EQ(app.popsToLogin, 2);
}

TEST_F(XMLResponseTest, TextAfterTheLastTagIsIgnoredAndInvalidUtf8IsReplaced) {
    std::u16string session;
    XMLResponse_Auth auth(session);
    // Trailing bytes after the document: a PHP notice, binary noise, no ">" in them.
    std::string body = Answer("<auth id=\"s\xff\xfe-1\"/>") + "Notice: x in y on line 3\x01\x80";
    EXPECT_EQ(auth.Parse(body), 0);
    EXPECT_EQ(session, u"s\uFFFD\uFFFD-1");
    // A byte-order mark at the start is fine; cutting inside a tag spoils the answer.
    EXPECT_EQ(auth.Parse("\xEF\xBB\xBF" + Answer("<auth id=\"b\"/>")), 0);
    EXPECT_EQ(session, u"b");
    std::string cut = Answer("<auth id=\"c\"/>");
    EXPECT_EQ(auth.Parse(cut.substr(0, cut.size() - 3)), 999);
    EXPECT_EQ(auth.Parse(Answer("<auth/>")), 999);
    EXPECT_EQ(auth.Parse(Answer("<other id=\"x\"/>")), 999);
    EXPECT_EQ(session, u"b");
}

TEST_F(XMLResponseTest, CategoriesAreAppendedAsATree) {
    Category root;
    root.children.push_back(MakeShared<Category>());  // from an earlier answer: stays
    XMLResponse_Cats cats(root);
    EXPECT_EQ(cats.Parse(Answer(R"(<cats>
        <cat name="Games" id="1" count="40">
          <cat name="Puzzle" id="11" count="25"/>
          <cat name="Cards &amp; Dice" id="12" count="15">
            <sub name="Poker" id="121" count="x"/>
          </cat>
        </cat>
        <cat name="Office" id="2" count="7"/>
      </cats>)")),
              0);
    ASSERT_EQ(root.children.size(), 3u);
    Category& games = *root.children[1];
    EXPECT_EQ(games.name, u"Games");
    EXPECT_EQ(games.id, 1);
    EXPECT_EQ(games.count, 40);
    EXPECT_EQ(games.parent, &root);
    ASSERT_EQ(games.children.size(), 2u);
    EXPECT_EQ(games.children[1]->name, u"Cards & Dice");
    EXPECT_EQ(games.children[1]->parent, &games);
    ASSERT_EQ(games.children[1]->children.size(), 1u);
    EXPECT_EQ(games.children[1]->children[0]->count, 0);  // not a number
    EXPECT_EQ(root.children[2]->name, u"Office");
    EXPECT_TRUE(root.children[2]->children.empty());
}

TEST_F(XMLResponseTest, BrokenCategoriesEndTheParseKeepingWhatWasAppended) {
    Category root;
    XMLResponse_Cats cats(root);
    EXPECT_EQ(cats.Parse(Answer("")), 999);  // no "cats"
    EXPECT_EQ(cats.Parse(Answer(R"(<cats><c name="A" id="1" count="1"/>
        <c name="B" id="2" count="2"><c name="B1" count="3"/></c>
        <c name="C" id="3" count="3"/></cats>)")),
              999);
    ASSERT_EQ(root.children.size(), 2u);  // A, B; C was never reached
    EXPECT_EQ(root.children[1]->children.size(), 1u);
    EXPECT_EQ(root.children[1]->children[0]->name, u"B1");
    // A text or comment node is a child like any other, and has no attributes.
    Category other;
    XMLResponse_Cats more(other);
    EXPECT_EQ(more.Parse(Answer(R"(<cats><c name="A" id="1" count="1"/>stray</cats>)")), 999);
    EXPECT_EQ(more.Parse(Answer(R"(<cats><!-- none --></cats>)")), 999);
    EXPECT_EQ(more.Parse(Answer("<cats>\n  </cats>")), 0);  // blanks are not nodes
}

std::string NestedCategories(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<c name=\"n\" id=\"1\" count=\"1\">";
        close += "</c>";
    }
    return Answer("<cats>" + open + close + "</cats>");
}

int Depth(const Category& root) {
    int depth = 0;
    for (const Category* c = &root; !c->children.empty(); c = c->children[0].get())
        ++depth;
    return depth;
}

TEST_F(XMLResponseTest, CategoryNestingIsBounded) {
    Category limit;
    EXPECT_EQ(XMLResponse_Cats(limit).Parse(NestedCategories(XMLResponse_Cats::kMaxDepth)), 0);
    EXPECT_EQ(Depth(limit), XMLResponse_Cats::kMaxDepth);
    Category deeper;
    EXPECT_EQ(XMLResponse_Cats(deeper).Parse(NestedCategories(XMLResponse_Cats::kMaxDepth + 1)),
              999);
    EXPECT_EQ(Depth(deeper), XMLResponse_Cats::kMaxDepth);
    Category hostile;  // far deeper than any stack would take by recursion
    EXPECT_EQ(XMLResponse_Cats(hostile).Parse(NestedCategories(100000)), 999);
}

TEST_F(XMLResponseTest, TagsAreAppended) {
    std::vector<Tag> tags{{u"old", 1}};
    XMLResponse_Tags parser(tags);
    EXPECT_EQ(parser.Parse(Answer(R"(<tags><tag name="chess" weight="12"/>
        <tag name="Solitär" weight="-3"/></tags>)")),
              0);
    EXPECT_EQ(tags, (std::vector<Tag>{{u"old", 1}, {u"chess", 12}, {u"Solit\u00e4r", -3}}));
    EXPECT_EQ(parser.Parse(Answer(R"(<tags><t name="a" weight="1"/><t name="b"/>
        <t name="c" weight="3"/></tags>)")),
              999);
    EXPECT_EQ(tags.size(), 4u);  // "a" stays, "b" and "c" do not
    EXPECT_EQ(tags.back(), (Tag{u"a", 1}));
    EXPECT_EQ(parser.Parse(Answer("")), 999);
}

TEST_F(XMLResponseTest, GetAppsListsEveryElementEvenIncompleteOnes) {
    std::vector<shared_ptr<App>> apps{MakeShared<App>()};
    XMLResponse_GetApps parser(apps);
    EXPECT_EQ(parser.Parse(Answer(std::string("<getapps><app ") + kApp +
                                  "/><app id=\"18\" name=\"Half\" rate=\"nan\"/></getapps>")),
              0);
    ASSERT_EQ(apps.size(), 3u);
    const App& a = *apps[1];
    EXPECT_EQ(a.id, 17);
    EXPECT_EQ(a.name, u"Pocket Notes");
    EXPECT_EQ(a.com, u"Acme");
    EXPECT_EQ(a.icon, u"http://cdn.example.test/i/17.png");
    EXPECT_EQ(a.type, u"free");
    EXPECT_EQ(a.catid, 4);
    EXPECT_DOUBLE_EQ(a.rate, 3.75);
    EXPECT_EQ(a.rates, 12);
    EXPECT_EQ(a.reviews, 5);
    EXPECT_EQ(a.views, 900);
    EXPECT_EQ(a.downloads, 321);
    EXPECT_EQ(a.version, u"1.2 beta");
    EXPECT_EQ(a.revision, 6);
    EXPECT_EQ(a.sysid, u"Acme Pocket Notes");
    EXPECT_EQ(a.exe, u"notes.exe");
    EXPECT_EQ(a.install, u"notes.cab");
    EXPECT_EQ(a.createtime, 4000000000u);
    EXPECT_TRUE(a.catalogueValid);
    EXPECT_EQ(apps[2]->id, 18);
    EXPECT_EQ(apps[2]->name, u"Half");
    EXPECT_EQ(apps[2]->rate, 0.0);
    EXPECT_EQ(apps[2]->sysid, u"");

    std::vector<shared_ptr<App>> none;
    XMLResponse_GetApps empty(none);
    EXPECT_EQ(empty.Parse(Answer("")), 0);
    EXPECT_TRUE(none.empty());
}

TEST_F(XMLResponseTest, AppDetailsNeedsEveryRequiredAttribute) {
    App app;
    XMLResponse_AppDetails parser(app);
    std::string withoutTime = std::string(kApp).substr(0, std::string(kApp).find(" createtime"));
    EXPECT_EQ(parser.Parse(Answer("<appdetails><app " + withoutTime + "/></appdetails>")), 0);
    EXPECT_EQ(app.createtime, 0u);  // optional
    EXPECT_EQ(app.revision, 6);

    App partial;
    partial.install = u"kept.cab";
    XMLResponse_AppDetails strict(partial);
    std::string withoutInstall = std::string(kApp);
    withoutInstall.replace(withoutInstall.find("install="), 19, "");
    EXPECT_EQ(strict.Parse(Answer("<appdetails><app " + withoutInstall + "/></appdetails>")), 999);
    EXPECT_EQ(partial.name, u"Pocket Notes");  // present attributes are stored all the same
    EXPECT_EQ(partial.createtime, 4000000000u);
    EXPECT_EQ(partial.install, u"kept.cab");
    EXPECT_EQ(strict.Parse(Answer("<appdetails/>")), 999);
    EXPECT_EQ(strict.Parse(Answer("")), 999);
}

TEST_F(XMLResponseTest, AppDetailsWithItsDescription) {
    App app;
    AppDescription d{u"old", {u"old.png"}, {u"old"}};
    XMLResponse_AppDetails parser(app, &d);
    std::string details = std::string("<appdetails><app ") + kApp + R"(>
        <details desc="Notes&#10;on the go">
          <tags><tag name="office"/><tag name="notes"/></tags>
          <pictures><p url="http://cdn/1.png"/><p/><p url="http://cdn/3.png"/></pictures>
        </details></app></appdetails>)";
    EXPECT_EQ(parser.Parse(Answer(details)), 0);
    EXPECT_EQ(d.desc, u"Notes\non the go");
    EXPECT_EQ(d.tags, (std::vector<std::u16string>{u"office", u"notes"}));
    EXPECT_EQ(d.pictures, (std::vector<std::u16string>{u"http://cdn/1.png"}));  // ends at <p/>

    // Without "desc" the answer fails, and the lists describe that answer alone.
    AppDescription e{u"kept", {u"x"}, {u"y"}};
    XMLResponse_AppDetails noDesc(app, &e);
    EXPECT_EQ(noDesc.Parse(Answer(std::string("<appdetails><app ") + kApp +
                                  "><details><tags><t name=\"a\"/></tags></details>"
                                  "</app></appdetails>")),
              999);
    EXPECT_EQ(e.desc, u"kept");
    EXPECT_EQ(e.tags, (std::vector<std::u16string>{u"a"}));
    EXPECT_TRUE(e.pictures.empty());
    EXPECT_EQ(noDesc.Parse(Answer(std::string("<appdetails><app ") + kApp + "/></appdetails>")),
              999);
}

TEST_F(XMLResponseTest, ReviewsAreAppended) {
    std::vector<Review> reviews;
    XMLResponse_Reviews parser(reviews);
    EXPECT_EQ(parser.Parse(Answer(R"(<reviews>
        <review login="ann" txt="Works &lt;great&gt;" rate="5"/>
        <review login="bob" txt="" rate="2"/></reviews>)")),
              0);
    ASSERT_EQ(reviews.size(), 2u);
    EXPECT_EQ(reviews[0].login, u"ann");
    EXPECT_EQ(reviews[0].txt, u"Works <great>");
    EXPECT_EQ(reviews[0].rate, 5);
    EXPECT_EQ(reviews[1].txt, u"");
    EXPECT_EQ(parser.Parse(Answer(R"(<reviews><r login="c" txt="t" rate="1"/>
        <r login="d" rate="1"/></reviews>)")),
              999);
    EXPECT_EQ(reviews.size(), 3u);
    EXPECT_EQ(parser.Parse(Answer("")), 0);  // no "reviews": an empty list
    EXPECT_EQ(reviews.size(), 3u);
}

TEST_F(XMLResponseTest, HostileAnswersNeitherCrashNorHang) {
    // An attribute of 8 MiB.
    std::u16string session;
    XMLResponse_Auth auth(session);
    EXPECT_EQ(auth.Parse(Answer("<auth id=\"" + std::string(8 << 20, 'a') + "\"/>")), 0);
    EXPECT_EQ(session.size(), size_t(8 << 20));
    // Twenty thousand complete applications (about 12 MiB).
    std::string many = "<getapps>";
    for (int i = 0; i < 20000; ++i)
        many += std::string("<app ") + kApp + "/>";
    many += "</getapps>";
    std::vector<shared_ptr<App>> apps;
    EXPECT_EQ(XMLResponse_GetApps(apps).Parse(Answer(many)), 0);
    EXPECT_EQ(apps.size(), 20000u);
    EXPECT_EQ(apps.back()->sysid, u"Acme Pocket Notes");
    // Deep nesting outside the categories, unterminated markup, entity tricks.
    std::string deep(200000, '<');
    EXPECT_EQ(XMLResponse().Parse(deep), 999);
    std::string nested;
    for (int i = 0; i < 100000; ++i)
        nested += "<a>";
    EXPECT_EQ(XMLResponse().Parse("<kestro-api><result code='0'/>" + nested), 999);
    EXPECT_EQ(XMLResponse().Parse("<!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]>"
                                  "<kestro-api><result code='&b;'/></kestro-api>"),
              0);
    // The text ends at a 0 character, whatever follows it.
    EXPECT_EQ(XMLResponse().Parse(std::string("<kestro-api>\0<result code='5'/></kestro-api>", 44)),
              999);
    EXPECT_EQ(
        XMLResponse().Parse(std::string("<kestro-api><result code='5'/></kestro-api>\0<x>", 47)),
        5);
}

}  // namespace
}  // namespace zentri
