#include "scenes/search_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/http_request.h"
#include "scenes/apps_scene.h"
#include "scenes/cats_scene.h"
#include "scenes/choose_keyword_scene.h"
#include "scenes/choose_tags_scene.h"
#include "widgets/list_layout.h"
#include "widgets/two_stage_tree_item_layout.h"

namespace zentri {

namespace {

std::u16string Join(const std::vector<Tag>& tags, const std::u16string& separator) {
    std::u16string text;
    for (const Tag& tag : tags)
        text += (text.empty() ? u"" : separator) + tag.name;
    return text;
}

}  // namespace

void SearchScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(9000), true, Str(5000));
    GObjectPtr content = CreateContent(page);
    content->SetLayout(shared_ptr<Layout>(new ListLayout(4 * U(), 0)));
    categoryValue = AddRow(content, u"icon_search_cat.png", 9001, [this] {
        App().PushScene(
            shared_ptr<Scene>(new CatsScene(&Kestro::Instance().GetRootCategory(), this)));
    });
    tagsValue = AddRow(content, u"icon_search_tag.png", 9002,
                       [this] { App().PushNew<ChooseTagsScene>(this); });
    keywordValue = AddRow(content, u"icon_search_keyword.png", 9003,
                          [this] { App().PushNew<ChooseKeywordScene>(this); });
    Refresh();
}

shared_ptr<SceneLabel> SearchScene::AddRow(const GObjectPtr& content, const std::u16string& icon,
                                           int title, std::function<void()> tap) {
    using Part = TwoStageTreeItemLayout::PartId;
    shared_ptr<SceneListItem> item = AddListItem(content);
    shared_ptr<SceneImage> iconImage(new SceneImage);
    iconImage->SetStretch(true);
    iconImage->AddImage(0, icon);
    iconImage->ShowImage(0);
    iconImage->SetTouchable(false);
    item->AddChild(iconImage, Part::kIcon);
    AddLabel(item, Str(title), false)->SetId(Part::kTitle);
    shared_ptr<SceneLabel> value = AddLabel(item, u"Everyone", false);
    value->SetFont(600, 5 * U() / 4);
    value->SetFormat(TextFormat::VCenter | TextFormat::SingleLine | TextFormat::EndEllipsis);
    value->SetId(Part::kSubtitle);
    shared_ptr<SceneImage> arrow(new SceneImage);
    arrow->AddImage(0, u"more_arrow.png");
    arrow->ShowImage(0, true);
    arrow->SetTouchable(false);
    item->AddChild(arrow, Part::kArrow);
    item->SetLayout(
        shared_ptr<Layout>(new TwoStageTreeItemLayout(U() / 2, arrow->Width(), arrow->Height())));
    OnTap(item, std::move(tap));
    return value;
}

void SearchScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), Str(9005));
}

void SearchScene::OnRightSoftKey() {
    if (keyword.empty() && selectedTags.empty() && !category) {
        ShowMessage(9018);
        return;
    }
    App().PushNew<AppsScene>(Str(9019), Str(9000), category, keyword, searchIn, TagsParameter(), -1,
                             -1, false);
}

void SearchScene::ChooseCategory(Category* chosen) {
    category = chosen;
    Refresh();
    App().PopTo(this);
}

void SearchScene::Refresh() {
    if (categoryValue) categoryValue->SetText(CategoryText());
    if (tagsValue) tagsValue->SetText(TagsText());
    if (keywordValue) keywordValue->SetText(KeywordText());
}

std::u16string SearchScene::CategoryText() const {
    if (!category) return Str(9006);
    // From the top down, without the root's name.
    std::u16string text;
    for (const Category* c = category; c && c->parent; c = c->parent)
        text = c->name + (text.empty() ? u"" : u" > " + text);
    return text;
}

std::u16string SearchScene::TagsText() const {
    return selectedTags.empty() ? Str(9007) : Join(selectedTags, u", ");
}

std::u16string SearchScene::KeywordText() const {
    return keyword.empty() ? Str(9008) : keyword;
}

std::u16string SearchScene::TagsParameter() const {
    return Join(selectedTags, u",");
}

}  // namespace zentri
