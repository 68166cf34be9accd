#include "scenes/login_choose_language_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"

namespace zentri {

std::vector<Scene::Choice> LanguageChoices(int& current) {
    std::vector<Scene::Choice> entries;
    current = 0;
    Localization& text = Localization::Instance();
    for (const auto& [name, language] : text.Languages()) {
        if (name == text.GetLanguage()) current = static_cast<int>(entries.size());
        entries.push_back({language.title, u""});
    }
    return entries;
}

void ChooseLanguage(int index) {
    Localization& text = Localization::Instance();
    int i = 0;
    for (const auto& [name, language] : text.Languages()) {
        (void)language;
        if (i++ != index) continue;
        if (name != text.GetLanguage() && text.SetLanguage(name))
            Kestro::Instance().app->RebuildAll();
        return;
    }
}

void LoginChooseLanguageScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3015), true, Str(1000));
    int current = 0;
    std::vector<Choice> entries = LanguageChoices(current);
    AddChoiceList(page, entries, current);
}

void LoginChooseLanguageScene::OnChoose(int index) {
    ChooseLanguage(index);
    App().GoBack();
}

}  // namespace zentri
