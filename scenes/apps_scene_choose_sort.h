#pragma once
// The sort keys of an application list as a choice list: by name (not in the top list, which
// the server sorts), rating, downloads, views and newest. The choice goes to the list, then
// the scene goes back.

#include <string>
#include <vector>

#include "scenes/scene.h"

namespace zentri {

class AppsScene;

class AppsSceneChooseSort : public Scene {
  public:
    explicit AppsSceneChooseSort(AppsScene* list);

    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;

    // The keys offered, in order.
    static std::vector<std::u16string> Keys(bool topMode);
    // The localized text id that names a sort key (any unknown key sorts by name).
    static int LabelOf(const std::u16string& key);

  private:
    AppsScene* list;  // below this scene on the stack
    bool topMode;
};

}  // namespace zentri
