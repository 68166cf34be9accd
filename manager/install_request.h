#pragma once
// One install job: a downloaded CAB handed to the platform's installer on a worker thread, one
// job at a time. The queue and the worker live in application management.

#include <atomic>
#include <cstdint>
#include <string>

#include "ui/delegate.h"
#include "ui/shared_object.h"

namespace zentri {

class InstallRequest : public shared_object {
  public:
    std::u16string cabPath;
    std::u16string sysid;
    int32_t revision = 0;
    Delegation_2<InstallRequest*, bool> Finished;  // once, with the result
    // (The worker thread's handle comes with the queue that runs the jobs.)
    // True from creation until the installer has returned and the CAB has been disposed of;
    // written by the worker, read by the UI thread.
    std::atomic<bool> active{true};
};

}  // namespace zentri
