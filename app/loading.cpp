#include "app/loading.h"

#include <mutex>

#include "ui/app_lock.h"

namespace zentri {

void Loading::Show(bool show) {
    std::lock_guard<AppLockType> lock(AppLock());
    count_ += show ? 1 : -1;
    UpdateIndicator();
}

int32_t Loading::Count() const {
    std::lock_guard<AppLockType> lock(AppLock());
    return count_;
}

void Loading::UpdateIndicator() {
    // The loading layer does not exist yet: nothing is on screen to update.
}

}  // namespace zentri
