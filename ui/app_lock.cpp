#include "ui/app_lock.h"

namespace zentri {

AppLockType& AppLock() {
    // Never destroyed: threads that end during static destruction may still take it.
    static AppLockType* lock = new AppLockType;
    return *lock;
}

}  // namespace zentri
