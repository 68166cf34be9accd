#pragma once
// One uninstall job: the application's removal handed to the platform's configuration manager
// on a worker thread, one job at a time. The queue and the worker live in application
// management.

#include <atomic>
#include <string>

#include "ui/delegate.h"
#include "ui/shared_object.h"

namespace zentri {

class UninstallRequest : public shared_object {
  public:
    std::u16string sysid;
    Delegation_2<UninstallRequest*, bool> Finished;  // once, with the result
    // (The worker thread's handle comes with the queue that runs the jobs.)
    // True from creation until the configuration manager has returned; written by the worker,
    // read by the UI thread.
    std::atomic<bool> active{true};
};

}  // namespace zentri
