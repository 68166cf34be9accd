#pragma once
// TPushSelectButton: a selectable button whose selection is the node's focusable flag. Image
// state 0 is the selected look, state 1 the unselected one; B provides TImage.

namespace zentri {

template <class B>
class TPushSelectButton : public B {
  public:
    static constexpr int kSelectedImage = 0;
    static constexpr int kUnselectedImage = 1;

    bool Selected() const { return this->IsFocusable(); }

    void FocusableChanged(bool selected) override {
        B::FocusableChanged(selected);
        this->ShowImage(selected ? kSelectedImage : kUnselectedImage, false);
    }
};

}  // namespace zentri
