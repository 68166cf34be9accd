#include "scenes/choose_language_scene.h"

#include "app/kestro_app.h"
#include "app/localization.h"

namespace zentri {

void ChooseLanguageScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3015), true, Str(3000));
    Localization& loc = Localization::Instance();
    names.clear();
    std::vector<Choice> entries;
    int selected = 0;
    for (const auto& [name, language] : loc.Languages()) {
        if (name == loc.GetLanguage()) selected = static_cast<int>(names.size());
        names.push_back(name);
        entries.push_back(Choice{language.title, u""});
    }
    AddChoiceList(page, entries, selected);
}

void ChooseLanguageScene::OnChoose(int index) {
    Localization& loc = Localization::Instance();
    if (index >= 0 && static_cast<size_t>(index) < names.size() &&
        names[index] != loc.GetLanguage() && loc.SetLanguage(names[index]))
        App().RebuildAll();
    App().GoBack();
}

}  // namespace zentri
