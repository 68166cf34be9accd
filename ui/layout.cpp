#include "ui/layout.h"

#include "ui/counted_ref.h"
#include "ui/gobject.h"

namespace zentri {

bool Layout::OwnerArrangeable() const {
    return owner && owner->Width() > 0 && owner->Height() > 0 && owner->ChildCount() > 0;
}

void Layout::Update(int reason) {
    if (busy || !OwnerArrangeable()) return;
    shared_ptr<Layout> keep = CountedRef(this);  // Arrange may replace the owner's layout
    busy = true;
    Arrange(owner, reason);
    busy = false;
}

void Layout::Resume() {
    busy = false;
    Update(kLayoutSet);
}

void Layout::SetOwner(GObject* newOwner) {
    owner = newOwner;
    Attached(newOwner);
}

}  // namespace zentri
