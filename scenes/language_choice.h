#pragma once
// The language list shared by the two language scenes (before signing in, and in the
// settings): the languages of the localization file in list order, and the choice of one.

#include <vector>

#include "scenes/scene.h"

namespace zentri {

// The languages with their display names; `current` gets the current one's index.
std::vector<Scene::Choice> LanguageChoices(int& current);
// Makes the index-th language current (when it is not already) and rebuilds every open scene
// in it.
void ChooseLanguage(int index);

}  // namespace zentri
