#pragma once
// The on/off switch: a strip wider than the switch's window slides left or right behind it,
// showing the on text and the toggler, or the toggler and the off text. The value is the
// container's focusable flag (true is on); setting the flag slides the strip, a tap on the
// switch inverts it.
//
// The handlers live in the nodes themselves, so the switch works for as long as its container
// does, whether or not the Switch object is kept.

#include <string>

#include "ui/gobject.h"
#include "ui/shared_object.h"

namespace zentri {

class Switch : public shared_object {
  public:
    // The strip's children in drawing order (bottom to top).
    enum Part { kOnFace = 0, kOffFace = 1, kToggler = 2 };
    static constexpr int kSlideSteps = 5;

    ~Switch() override;

    // Builds the switch (off) and adds its container to `parent` with `id`; returns the
    // container.
    GObjectPtr Create(const GObjectPtr& parent, const std::u16string& onText,
                      const std::u16string& offText, int id);
    const GObjectPtr& Container() const { return container; }

    // The value of a switch's container.
    static bool IsOn(const GObject& container) { return container.IsFocusable(); }
    // Hides the face that lies under the other at the strip's resting place: the off face when
    // the switch is on, the on face when it is off.
    static void HideCoveredFace(GObject& strip);

  private:
    GObjectPtr container;
};

}  // namespace zentri
