#pragma once
// The search: up to three criteria (a category, tags, a keyword in a chosen field), each
// edited on a scene of its own, and the result opened as an application list. The criteria
// stay while the scene is on the stack.

#include <string>
#include <vector>

#include "app/catalogue.h"
#include "scenes/category_chooser.h"
#include "scenes/scene.h"

namespace zentri {

class SearchScene : public Scene, public CategoryChooser {
  public:
    SearchScene() = default;

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;

    // From the category walk: the category (null for all), then back on top.
    void ChooseCategory(Category* chosen) override;

    Category* GetCategory() const { return category; }
    const std::vector<Tag>& SelectedTags() const { return selectedTags; }
    void SetSelectedTags(std::vector<Tag> tags) { selectedTags = std::move(tags); }
    const std::u16string& Keyword() const { return keyword; }
    // "" (everywhere), "name", "com" or "desc".
    const std::u16string& SearchIn() const { return searchIn; }
    void SetKeyword(std::u16string text, std::u16string field) {
        keyword = std::move(text);
        searchIn = std::move(field);
    }
    // Shows the criteria in the value labels.
    void Refresh();

    // The texts of the value labels.
    std::u16string CategoryText() const;
    std::u16string TagsText() const;
    std::u16string KeywordText() const;
    // The selected tag names joined by "," as the request carries them.
    std::u16string TagsParameter() const;

  private:
    shared_ptr<SceneLabel> AddRow(const GObjectPtr& content, const std::u16string& icon, int title,
                                  std::function<void()> tap);

    Category* category = nullptr;  // in the session's tree, which outlives the search
    std::vector<Tag> selectedTags;
    std::u16string keyword;
    std::u16string searchIn;
    shared_ptr<SceneLabel> categoryValue, tagsValue, keywordValue;
};

}  // namespace zentri
