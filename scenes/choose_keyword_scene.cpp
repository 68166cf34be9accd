#include "scenes/choose_keyword_scene.h"

#include "app/kestro_app.h"
#include "net/http_request.h"
#include "scenes/choose_search_in_scene.h"
#include "scenes/search_scene.h"

namespace zentri {

ChooseKeywordScene::ChooseKeywordScene(SearchScene* search)
    : search(search), pendingSearchIn(search->SearchIn()) {}

int ChooseKeywordScene::LabelOf(const std::u16string& field) {
    if (field == u"name") return 9010;
    if (field == u"com") return 9011;
    if (field == u"desc") return 9012;
    return 9009;
}

void ChooseKeywordScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(9016), true, Str(9000));
    GObjectPtr content = CreateContent(page);
    AddLabel(content, Str(9017), false);
    keywordEdit = AddEdit(content, search->Keyword(), true);
    AddLabel(content, Str(9004), false);
    searchInButton = AddButton(content, Str(LabelOf(pendingSearchIn)));
    OnTap(searchInButton, [this] { App().PushNew<ChooseSearchInScene>(this); });
    std::vector<TableLayout::Cell> cells;
    for (int row = 0; row < 4; ++row)
        cells.push_back({row, 0, 1.0, 1});
    FinishTable(content, cells);
}

void ChooseKeywordScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), Str(0));
}

void ChooseKeywordScene::OnRightSoftKey() {
    search->SetKeyword(keywordEdit->Text(), pendingSearchIn);
    search->Refresh();
    App().GoBack();
}

void ChooseKeywordScene::SetPendingSearchIn(std::u16string field) {
    pendingSearchIn = std::move(field);
    if (searchInButton) searchInButton->SetText(Str(LabelOf(pendingSearchIn)));
}

}  // namespace zentri
