#include "scenes/choose_os_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "manager/device_profile.h"
#include "scenes/settings_scene.h"

namespace zentri {

void ChooseOsScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3016), true, Str(3000));
    const std::u16string& current = Kestro::Instance().profile.osver;
    std::vector<Choice> entries;
    int selected = -1;
    for (const auto& [code, name] : OsTable()) {
        if (selected < 0 && code == current) selected = static_cast<int>(entries.size());
        entries.push_back(Choice{name, u""});
    }
    AddChoiceList(page, entries, selected < 0 ? 0 : selected);  // none: the first
}

void ChooseOsScene::OnChoose(int index) {
    const auto table = OsTable();
    if (index >= 0 && static_cast<size_t>(index) < table.size()) {
        Kestro::Instance().profile.osver = table[index].first;
        if (settings) settings->Refresh(false);
    }
    App().GoBack();
}

}  // namespace zentri
