// The search and its choosers: the category walk in chooser mode returns straight to the search
// from any depth, tags and keyword reach the search only when confirmed, and the search opens
// a list with what was chosen.

#include "scenes/search_scene.h"

#include "app/catalogue.h"
#include "scenes/apps_scene.h"
#include "scenes/cats_scene.h"
#include "scenes/choose_keyword_scene.h"
#include "scenes/choose_search_in_scene.h"
#include "scenes/choose_tags_scene.h"
#include "tests/scenes/catalogue_scene_fixture.h"
#include "widgets/switch.h"
#include "widgets/switch_item_layout.h"

namespace zentri::test {
namespace {

class SearchTest : public CatalogueSceneTest {
  protected:
    void SetUp() override {
        CatalogueSceneTest::SetUp();
        // Games(9) > Puzzle(5) > Logic(2), Word games(3); Games > Racing(4); Tools(0)
        Category& root = Kestro::Instance().GetRootCategory();
        Category* games = Add(root, 1, u"Games", 9);
        Category* puzzle = Add(*games, 11, u"Puzzle", 5);
        Add(*puzzle, 112, u"Logic", 2);
        Add(*puzzle, 111, u"Word games", 3);
        Add(*games, 12, u"Racing", 4);
        Add(root, 4, u"Tools", 0);
        Kestro::Instance().tagList = {{u"arcade", 4}, {u"chess", 2}, {u"offline", 7}};
        search = Push(new SearchScene);
    }
    static Category* Add(Category& parent, int32_t id, const char16_t* name, int32_t count) {
        shared_ptr<Category> c(new Category);
        c->id = id, c->name = name, c->count = count, c->parent = &parent;
        parent.children.push_back(c);
        return c.get();
    }
    // The row of the top scene's content at `index`.
    GObjectPtr Row(size_t index) { return Content(Top())->ChildAt(index); }
    std::u16string RowText(size_t index) { return TextOf(Row(index), Scene::kItemTextId); }
    bool HasRight(size_t index) {
        GObjectPtr right;
        return Row(index)->FindChild(Scene::kItemRightId, right);
    }

    SearchScene* search = nullptr;
};

TEST_F(SearchTest, ALeafThreeLevelsDownReturnsStraightToTheSearch) {
    Tap(Content(search)->ChildAt(0));  // the category row
    ASSERT_NE(dynamic_cast<CatsScene*>(Top()), nullptr);
    EXPECT_EQ(RowText(0), Str(9006));  // all categories, first at the root
    EXPECT_EQ(RowText(1), u"Games(9)");
    EXPECT_EQ(RowText(2), u"Tools(0)");
    EXPECT_FALSE(HasRight(0));
    EXPECT_TRUE(HasRight(1));
    EXPECT_FALSE(HasRight(2));  // a leaf is chosen at once: no arrow

    Tap(Row(1));  // Games
    EXPECT_EQ(RowText(0), Str(9013));
    Tap(Row(1));  // Puzzle
    EXPECT_EQ(RowText(1), u"Logic(2)");
    EXPECT_EQ(app.SceneStack().size(), 4u);
    Tap(Row(1));  // Logic
    EXPECT_EQ(Top(), search);
    EXPECT_EQ(app.SceneStack().size(), 1u);
    EXPECT_EQ(search->GetCategory()->id, 112);
    EXPECT_EQ(search->CategoryText(), u"Games > Puzzle > Logic");

    // "This category" one level down, then all categories again.
    Tap(Content(search)->ChildAt(0));
    Tap(Row(1));
    Tap(Row(0));
    EXPECT_EQ(Top(), search);
    EXPECT_EQ(search->CategoryText(), u"Games");
    Tap(Content(search)->ChildAt(0));
    Tap(Row(0));
    EXPECT_EQ(search->GetCategory(), nullptr);
    EXPECT_EQ(search->CategoryText(), Str(9006));
}

TEST_F(SearchTest, TagsAreTakenOnlyWhenConfirmed) {
    Tap(Content(search)->ChildAt(1));
    auto* tags = dynamic_cast<ChooseTagsScene*>(Top());
    ASSERT_NE(tags, nullptr);
    EXPECT_EQ(TextOf(Row(0), SwitchItemLayout::kText), u"arcade(4)");
    ASSERT_EQ(tags->TagSwitches().size(), 3u);
    Tap(Row(2));  // a tap on the row flips its switch
    Tap(tags->TagSwitches()[0]);
    EXPECT_TRUE(Switch::IsOn(*tags->TagSwitches()[2]));
    EXPECT_TRUE(Switch::IsOn(*tags->TagSwitches()[0]));  // the switch's own tap counts once
    SoftKey(true);                                       // back: nothing changes
    EXPECT_TRUE(search->SelectedTags().empty());
    EXPECT_EQ(search->TagsText(), Str(9007));

    Tap(Content(search)->ChildAt(1));
    tags = dynamic_cast<ChooseTagsScene*>(Top());
    Tap(Row(2));
    Tap(Row(0));
    SoftKey(false);
    EXPECT_EQ(Top(), search);
    EXPECT_EQ(search->TagsText(), u"arcade, offline");  // in the catalogue's order
    EXPECT_EQ(search->TagsParameter(), u"arcade,offline");

    // Opened again, the chosen ones start on.
    Tap(Content(search)->ChildAt(1));
    tags = dynamic_cast<ChooseTagsScene*>(Top());
    EXPECT_TRUE(Switch::IsOn(*tags->TagSwitches()[0]));
    EXPECT_FALSE(Switch::IsOn(*tags->TagSwitches()[1]));
    EXPECT_TRUE(Switch::IsOn(*tags->TagSwitches()[2]));
}

TEST_F(SearchTest, KeywordAndFieldReachTheSearchOnlyWhenConfirmed) {
    Tap(Content(search)->ChildAt(2));
    auto* keyword = dynamic_cast<ChooseKeywordScene*>(Top());
    ASSERT_NE(keyword, nullptr);
    keyword->SetPendingSearchIn(u"com");
    SoftKey(true);
    EXPECT_EQ(search->SearchIn(), u"");
    EXPECT_EQ(search->KeywordText(), Str(9008));

    Tap(Content(search)->ChildAt(2));
    keyword = dynamic_cast<ChooseKeywordScene*>(Top());
    EXPECT_EQ(keyword->PendingSearchIn(), u"");
    Push(new ChooseSearchInScene(keyword));
    Tap(Row(2));  // the developer
    EXPECT_EQ(Top(), keyword);
    EXPECT_EQ(keyword->PendingSearchIn(), u"com");
    EXPECT_EQ(search->SearchIn(), u"");
}

TEST_F(SearchTest, SearchNeedsACriterionAndSendsWhatWasChosen) {
    SoftKey(false);
    ASSERT_EQ(app.popups.size(), 1u);
    EXPECT_EQ(app.popups[0], Str(9018));
    EXPECT_EQ(Top(), search);
    SoftKey(true);  // the box goes

    search->SetKeyword(u"Acme Soft", u"com");
    search->SetSelectedTags({{u"arcade", 4}, {u"chess", 2}});
    SoftKey(false);
    auto* list = dynamic_cast<AppsScene*>(Top());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Title(), Str(9019));
    api::GetAppsOptions sent = list->RequestOptions();
    EXPECT_EQ(sent.query, u"Acme Soft");
    EXPECT_EQ(sent.in, u"com");
    EXPECT_EQ(sent.tags, u"arcade,chess");
    EXPECT_EQ(sent.cat, -1);
    EXPECT_EQ(sent.count, -1);
}

}  // namespace
}  // namespace zentri::test
