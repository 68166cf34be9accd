#pragma once
// Offered by a node that can bring its content back into range (a scroll view).

namespace zentri {

class IRestore {
  public:
    virtual ~IRestore() = default;
    // Starts the movement back into range; false when the content is already there.
    virtual bool Restore() = 0;
};

}  // namespace zentri
