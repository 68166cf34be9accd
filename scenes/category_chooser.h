#pragma once
// What the category walk reports to in chooser mode: the scene that asked for a category (the
// search). It takes the choice, shows it, and brings itself back on top.

namespace zentri {

struct Category;

class CategoryChooser {
  public:
    // `category` is the chosen one, or null for all categories.
    virtual void ChooseCategory(Category* category) = 0;

  protected:
    ~CategoryChooser() = default;
};

}  // namespace zentri
