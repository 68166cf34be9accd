#pragma once
// The search keyword and the field it is looked for in. Nothing reaches the search until the
// right soft key confirms: going back leaves keyword and field as they were, even when a field
// was chosen meanwhile.

#include <string>

#include "scenes/scene.h"

namespace zentri {

class SearchScene;

class ChooseKeywordScene : public Scene {
  public:
    explicit ChooseKeywordScene(SearchScene* search);

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;

    const std::u16string& PendingSearchIn() const { return pendingSearchIn; }
    // The field chosen on ChooseSearchInScene; relabels the button.
    void SetPendingSearchIn(std::u16string field);

    // The text id that names a search field ("" is everywhere).
    static int LabelOf(const std::u16string& field);

  private:
    SearchScene* search;  // below this scene on the stack
    std::u16string pendingSearchIn;
    shared_ptr<SceneEdit> keywordEdit;
    shared_ptr<SceneButton> searchInButton;
};

}  // namespace zentri
