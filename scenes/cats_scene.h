#pragma once
// The category walk: the sub-categories of one category, each with its number of applications.
// A category with sub-categories of its own opens another walk; a leaf (or the "show all" row)
// opens its application list. In chooser mode the walk picks a category for the search instead:
// there is a row for "this category" (or, at the root, for all of them), and choosing hands the
// category to the chooser, which brings itself back on top however deep the walk went.
//
// The category tree lives in the session state for the whole run; the root's rows are fetched
// with "cats" on the first visit.

#include "scenes/scene.h"

namespace zentri {

struct Category;
class CategoryChooser;

class CatsScene : public Scene {
  public:
    // `category` belongs to the session's tree (the root: Kestro's GetRootCategory()), which
    // outlives every scene of the walk; `chooser` is null outside chooser mode.
    CatsScene(Category* category, CategoryChooser* chooser);

    void Build(GObjectPtr& page) override;

    Category* GetCategory() const { return category; }

  private:
    void CatsDone(HttpRequest* request, bool ok);
    void FillRows();
    void AddRow(const std::u16string& text, const std::u16string& icon, bool arrow,
                std::function<void()> tap);
    void Open(Category* chosen);
    void Choose(Category* chosen);

    Category* category;
    CategoryChooser* chooser;
    GObjectPtr content;
    shared_ptr<HttpRequest> catsRequest;
};

}  // namespace zentri
