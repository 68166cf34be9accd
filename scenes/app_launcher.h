#pragma once
// A touch handler that opens one address (a web page, a mail link) with the device's opener
// when a tap is released inside its node.

#include <string>

#include "ui/delegate.h"
#include "ui/gobject.h"

namespace zentri {

struct Touch;

class AppLauncher : public Delegate<GObjectPtr&, const Touch&> {
  public:
    explicit AppLauncher(std::u16string address) : address(std::move(address)) {}
    void Invoke(GObjectPtr& node, const Touch& touch) override;
    const std::u16string& Address() const { return address; }

  private:
    std::u16string address;
};

}  // namespace zentri
