#pragma once
// The interface language, chosen before signing in: one entry per language of the
// localization file; choosing one rebuilds every scene in it.

#include "scenes/scene.h"

namespace zentri {

class LoginChooseLanguageScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;
};

// The languages of the localization file in list order, and the current one's index.
std::vector<Scene::Choice> LanguageChoices(int& current);
// Makes the index-th language current (when it is not) and rebuilds every scene in it.
void ChooseLanguage(int index);

}  // namespace zentri
