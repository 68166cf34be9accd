#pragma once
// A small registry through which modules that do work in the background (transfers, installs)
// tell the automation whether anything is still under way, so a script can wait until the
// client has settled. Modules either keep a count (WorkStarted/WorkFinished) or register a
// probe that answers the question itself.

#include <functional>

namespace zentri {

// One unit of background work began or ended. Thread-safe.
void WorkStarted();
void WorkFinished();

// A probe answers true while its module has work pending. It is called on the UI thread
// without appLock, so it takes only its own module's locks; the handle must not be destroyed
// while holding a lock that the probe takes. The registration ends with the handle.
class WorkProbe {
  public:
    WorkProbe() = default;
    explicit WorkProbe(std::function<bool()> probe);
    ~WorkProbe();
    WorkProbe(WorkProbe&& other) noexcept;
    WorkProbe& operator=(WorkProbe&& other) noexcept;
    WorkProbe(const WorkProbe&) = delete;
    WorkProbe& operator=(const WorkProbe&) = delete;

  private:
    int id_ = 0;
};

// True while the count is above zero or some probe answers true.
bool AnyWorkPending();

}  // namespace zentri
