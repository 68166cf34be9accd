#include "scenes/choose_screen_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "manager/device_profile.h"
#include "scenes/settings_scene.h"

namespace zentri {

void ChooseScreenScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3017), true, Str(3000));
    const DeviceProfile& profile = Kestro::Instance().profile;
    std::vector<Choice> entries;
    int selected = -1;
    for (const ScreenEntry& entry : ScreenTable()) {
        if (selected < 0 && entry.w == profile.w && entry.h == profile.h)
            selected = static_cast<int>(entries.size());
        entries.push_back(Choice{entry.name, u""});
    }
    AddChoiceList(page, entries, selected < 0 ? 0 : selected);  // none: the first
}

void ChooseScreenScene::OnChoose(int index) {
    const auto table = ScreenTable();
    if (index >= 0 && static_cast<size_t>(index) < table.size()) {
        DeviceProfile& profile = Kestro::Instance().profile;
        profile.w = table[index].w;
        profile.h = table[index].h;
        if (settings) settings->Refresh(false);
    }
    App().GoBack();
}

}  // namespace zentri
