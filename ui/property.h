#pragma once
// A property gets and sets one integer of one object; animations write through it. Every
// concrete property holds a plain (uncounted) pointer to its target, so the target must outlive
// the animation that drives it (widgets own their chains).

#include "ui/gobject.h"
#include "ui/shared_object.h"

namespace zentri {

template <class T>
class Property : public shared_object {
  public:
    ~Property() override = default;
    virtual void Set(T value) = 0;
    virtual T Get() = 0;
};

class IntGObjectProperty : public Property<int> {
  public:
    explicit IntGObjectProperty(GObject* target) : target(target) {}

  protected:
    GObject* target;
};

class XPositionProperty : public IntGObjectProperty {
  public:
    using IntGObjectProperty::IntGObjectProperty;
    void Set(int value) override { target->SetPosition(value, target->Y()); }
    int Get() override { return target->X(); }
};

class YPositionProperty : public IntGObjectProperty {
  public:
    using IntGObjectProperty::IntGObjectProperty;
    void Set(int value) override { target->SetPosition(target->X(), value); }
    int Get() override { return target->Y(); }
};

// The transparency of the node and its whole sub-tree.
class TransparencyChildsProperty : public IntGObjectProperty {
  public:
    using IntGObjectProperty::IntGObjectProperty;
    void Set(int value) override { target->SetTransparency(value, true); }
    int Get() override { return target->Transparency(); }
};

// The transparency of the node alone.
class TransparencyProperty : public IntGObjectProperty {
  public:
    using IntGObjectProperty::IntGObjectProperty;
    void Set(int value) override { target->SetTransparency(value, false); }
    int Get() override { return target->Transparency(); }
};

}  // namespace zentri
