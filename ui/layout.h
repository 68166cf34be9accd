#pragma once
// The base of every layout: places the children of the node that owns it whenever something
// changes. The concrete layouts work on child ids and come with the widgets.

#include "ui/shared_object.h"

namespace zentri {

class GObject;

class Layout : public shared_object {
  public:
    // Why Update is called.
    enum Reason {
        kOwnerResized = 0,
        kChildAdded = 1,
        kChildRemoved = 2,
        kLayoutSet = 3,  // also when resumed
        kContentChanged = 4
    };

    ~Layout() override = default;
    virtual void Attached(GObject* owner) { (void)owner; }
    virtual void Arrange(GObject* owner, int reason) = 0;

    // Arranges unless busy (a change made by Arrange itself does not re-enter) or the owner
    // cannot be arranged (none, no area, no children).
    void Update(int reason);
    void Suspend() { busy = true; }
    void Resume();
    void SetOwner(GObject* newOwner);

    GObject* Owner() const { return owner; }
    bool Busy() const { return busy; }

  protected:
    GObject* owner = nullptr;
    bool busy = false;

  private:
    friend class GObject;
    bool OwnerArrangeable() const;
    // The owning node lets go of the layout without the attach hook.
    void Forget() { owner = nullptr; }
};

}  // namespace zentri
