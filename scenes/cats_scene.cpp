#include "scenes/cats_scene.h"

#include "app/catalogue.h"
#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/http_request.h"
#include "net/xml_response_cats.h"
#include "platform/text.h"
#include "scenes/apps_scene.h"
#include "scenes/category_chooser.h"
#include "widgets/list_layout.h"

namespace zentri {

namespace {

std::u16string WithCount(const std::u16string& text, int32_t count) {
    return text + u"(" + platform::Utf8ToUtf16(std::to_string(count)) + u")";
}

}  // namespace

CatsScene::CatsScene(Category* category, CategoryChooser* chooser)
    : category(category), chooser(chooser) {}

void CatsScene::Build(GObjectPtr& page) {
    content = CreateContent(page);
    content->SetLayout(shared_ptr<Layout>(new ListLayout(4 * U(), 0)));
    if (category->parent)
        AddHeader(page, category->name, true, category->parent->name);
    else
        AddHeader(page, Str(6000), true, Str(chooser ? 9000 : 5000));

    if (category->parent || !category->children.empty()) {
        FillRows();
        return;
    }
    catsRequest = Await(Kestro::Instance().BuildCatsRequest(), &CatsScene::CatsDone);
}

void CatsScene::CatsDone(HttpRequest* request, bool ok) {
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    Category& root = Kestro::Instance().GetRootCategory();
    const int32_t code = XMLResponse_Cats(root).Parse(request->Body(), request->Size());
    if (code != kResultOk) {
        // A tree cut short by a bad answer would be taken as loaded by every later visit.
        root.children.clear();
        ShowMessage(code);
        return;
    }
    if (category == &root) FillRows();
}

void CatsScene::FillRows() {
    shared_ptr<Layout> layout = content->GetLayout();
    layout->Suspend();
    content->RemoveAllChildren();
    if (category->parent) {
        if (chooser)
            AddRow(Str(9013), u"icon_showall.png", false, [this] { Choose(category); });
        else
            AddRow(WithCount(Str(6001), category->count), u"icon_showall.png", true,
                   [this] { Open(category); });
    } else if (chooser) {
        AddRow(Str(9006), u"icon_showall.png", false, [this] { Choose(nullptr); });
    }
    for (const shared_ptr<Category>& sub : category->children) {
        const bool leaf = sub->children.empty();
        Category* node = sub.get();
        AddRow(WithCount(sub->name, sub->count), leaf ? u"icon_showall.png" : u"icon_cats.png",
               !(leaf && chooser), [this, node, leaf] {
                   if (!leaf)
                       App().PushNew<CatsScene>(node, chooser);
                   else if (chooser)
                       Choose(node);
                   else
                       Open(node);
               });
    }
    layout->Resume();
}

void CatsScene::AddRow(const std::u16string& text, const std::u16string& icon, bool arrow,
                       std::function<void()> tap) {
    shared_ptr<SceneListItem> item = AddListItem(content);
    FillListItem(item, text, icon, arrow ? u"more_arrow.png" : u"");
    OnTap(item, std::move(tap));
}

void CatsScene::Open(Category* chosen) {
    App().PushScene(shared_ptr<Scene>(
        new AppsScene(chosen->name, chosen->parent->name, chosen, u"", u"", u"", -1, -1, false)));
}

void CatsScene::Choose(Category* chosen) {
    chooser->ChooseCategory(chosen);
}

}  // namespace zentri
