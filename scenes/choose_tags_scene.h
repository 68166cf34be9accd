#pragma once
// The tags of the catalogue, one switch each; the switches of the search's tags start on.
// Done hands the tags that are on to the search, in the catalogue's order; going back leaves
// the search's tags as they were. The tag list is fetched once ("tags") and kept in the session
// state for every later visit.

#include <vector>

#include "scenes/scene.h"

namespace zentri {

class SearchScene;

class ChooseTagsScene : public Scene {
  public:
    explicit ChooseTagsScene(SearchScene* search) : search(search) {}

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;

    // The switch containers, one per tag of the session's list, in its order.
    const std::vector<GObjectPtr>& TagSwitches() const { return tagSwitches; }

  private:
    void TagsDone(HttpRequest* request, bool ok);
    void BuildRows();

    SearchScene* search;  // below this scene on the stack
    GObjectPtr content;
    std::vector<GObjectPtr> tagSwitches;
    shared_ptr<HttpRequest> tagsRequest;
};

}  // namespace zentri
