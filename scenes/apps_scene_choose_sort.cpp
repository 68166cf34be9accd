#include "scenes/apps_scene_choose_sort.h"

#include <algorithm>

#include "app/kestro_app.h"
#include "net/http_request.h"
#include "scenes/apps_scene.h"

namespace zentri {

AppsSceneChooseSort::AppsSceneChooseSort(AppsScene* list) : list(list), topMode(list->TopMode()) {}

std::vector<std::u16string> AppsSceneChooseSort::Keys(bool topMode) {
    std::vector<std::u16string> keys = {u"", u"rates", u"downloads", u"views", u"createtime"};
    if (topMode) keys.erase(keys.begin());
    return keys;
}

int AppsSceneChooseSort::LabelOf(const std::u16string& key) {
    if (key == u"rates") return 12005;
    if (key == u"downloads") return 12006;
    if (key == u"views") return 12007;
    if (key == u"createtime") return 12011;
    return 12003;
}

void AppsSceneChooseSort::Build(GObjectPtr& page) {
    AddHeader(page, Str(12004), true, list->Title());
    const std::vector<std::u16string> keys = Keys(topMode);
    std::vector<Choice> entries;
    for (const std::u16string& key : keys)
        entries.push_back({Str(LabelOf(key)), u""});
    auto shown = std::find(keys.begin(), keys.end(), list->ShownSort());
    AddChoiceList(page, entries, shown == keys.end() ? 0 : static_cast<int>(shown - keys.begin()));
}

void AppsSceneChooseSort::OnChoose(int index) {
    const std::vector<std::u16string> keys = Keys(topMode);
    if (index >= 0 && index < static_cast<int>(keys.size())) list->ChangeSort(keys[index]);
    App().GoBack();
}

}  // namespace zentri
