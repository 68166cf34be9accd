#include "scenes/choose_language_scene.h"

#include "app/kestro_app.h"
#include "scenes/language_choice.h"

namespace zentri {

void ChooseLanguageScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3015), true, Str(3000));
    int current = 0;
    std::vector<Choice> entries = LanguageChoices(current);
    AddChoiceList(page, entries, current);
}

void ChooseLanguageScene::OnChoose(int index) {
    ChooseLanguage(index);
    App().GoBack();
}

}  // namespace zentri
