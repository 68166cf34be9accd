#pragma once
// TRadio: a group whose children are its options; exactly one is selected, and an option's
// selection is its focusable flag. The first option added is selected; a click on an option
// selects it; selecting one deselects the others and fires onSelectionChanged with the group
// and the option's index.

#include <cstddef>

#include "ui/counted_ref.h"
#include "ui/delegate.h"
#include "ui/gobject.h"
#include "ui/touch.h"

namespace zentri {

template <class B>
class TRadio : public B {
  public:
    using SelectionEvent = Delegation_2<GObjectPtr&, int>;

    // Options that live on elsewhere must not call into a group that is gone.
    ~TRadio() override {
        for (const GObjectPtr& option : this->children)
            Unsubscribe(*option);
    }

    SelectionEvent& OnSelectionChanged() { return onSelectionChanged; }
    // The index of the selected option, -1 when there is none.
    int Selected() const {
        for (size_t i = 0; i < this->children.size(); ++i)
            if (this->children[i]->IsFocusable()) return static_cast<int>(i);
        return -1;
    }
    // Selects the option at `index`; nothing for an index that is not an option.
    void Select(int index) {
        if (index < 0 || static_cast<size_t>(index) >= this->children.size()) return;
        GObjectPtr option = this->children[static_cast<size_t>(index)];
        option->SetFocusable(true);
    }

    void ChildAdded(const GObjectPtr& child) override {
        B::ChildAdded(child);
        child->OnFocusableChanged().Add(this, &TRadio::OptionSelectionChanged);
        child->OnTouch().Add(this, &TRadio::OptionTouched);
        if (child->IsFocusable()) {
            GObjectPtr option = child;  // added already selected: it wins
            OptionSelectionChanged(option, true);
        } else if (this->children.size() == 1) {
            child->SetFocusable(true);
        }
    }
    void ChildRemoved(const GObjectPtr& child) override {
        B::ChildRemoved(child);
        Unsubscribe(*child);
    }

  protected:
    void OptionSelectionChanged(GObjectPtr& option, bool selected) {
        size_t index = 0;
        if (!selected || !option || !this->IndexOf(option.get(), index)) return;
        GObjectPtr self = CountedRef<GObject>(this);
        for (size_t i = 0; i < this->children.size(); ++i) {
            if (i == index) continue;
            GObjectPtr other = this->children[i];
            other->SetFocusable(false);
        }
        onSelectionChanged.Invoke(self, static_cast<int>(index));
    }
    void OptionTouched(GObjectPtr& option, const Touch& touch) {
        if (touch.type == Touch::kClick && option) option->SetFocusable(true);
    }
    void Unsubscribe(GObject& option) {
        option.OnFocusableChanged().RemoveObject(this);
        option.OnTouch().RemoveObject(this);
    }

    SelectionEvent onSelectionChanged;
};

}  // namespace zentri
