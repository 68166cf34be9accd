#pragma once
// The interface language, chosen from the languages of the localization file. A new language
// rebuilds every open scene at once.

#include <string>
#include <vector>

#include "scenes/scene.h"

namespace zentri {

class ChooseLanguageScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;

  private:
    std::vector<std::u16string> names;  // the languages in list order
};

}  // namespace zentri
