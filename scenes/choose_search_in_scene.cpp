#include "scenes/choose_search_in_scene.h"

#include "app/kestro_app.h"
#include "net/http_request.h"
#include "scenes/choose_keyword_scene.h"

namespace zentri {

const char16_t* const ChooseSearchInScene::kFields[4] = {u"", u"name", u"com", u"desc"};

void ChooseSearchInScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(9015), true, Str(9000));
    std::vector<Choice> entries;
    int selected = 0;
    for (int i = 0; i < 4; ++i) {
        entries.push_back({Str(ChooseKeywordScene::LabelOf(kFields[i])), u""});
        if (keywordScene->PendingSearchIn() == kFields[i]) selected = i;
    }
    AddChoiceList(page, entries, selected);
}

void ChooseSearchInScene::OnChoose(int index) {
    if (index >= 0 && index < 4) keywordScene->SetPendingSearchIn(kFields[index]);
    App().GoBack();
}

}  // namespace zentri
