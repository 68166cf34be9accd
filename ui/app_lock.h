#pragma once
// appLock: the application's re-entrant lock. The UI thread holds it while it handles any
// window message; worker threads (transfers, installs, uninstalls) take it before they call
// back into the program, so every callback is serialised with message handling. It lives for
// the whole process so that workers finishing during shutdown can still take it.

#include <mutex>

namespace zentri {

using AppLockType = std::recursive_mutex;

AppLockType& AppLock();

}  // namespace zentri
