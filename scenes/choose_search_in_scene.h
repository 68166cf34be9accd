#pragma once
// Where the keyword is looked for: everywhere, the name, the developer or the description.
// The choice goes to the keyword scene only; the search takes it when that scene confirms.

#include <string>
#include <vector>

#include "scenes/scene.h"

namespace zentri {

class ChooseKeywordScene;

class ChooseSearchInScene : public Scene {
  public:
    // The fields in the order of the list.
    static const char16_t* const kFields[4];

    explicit ChooseSearchInScene(ChooseKeywordScene* keywordScene) : keywordScene(keywordScene) {}

    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;

  private:
    ChooseKeywordScene* keywordScene;  // below this scene on the stack
};

}  // namespace zentri
