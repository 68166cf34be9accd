#include "net/connection_manager.h"

namespace zentri {

void ConnectionManager::Connect() {
    Delegation_0 connected;
    {
        std::lock_guard<std::mutex> lock(lock_);
        connected = connected_;
    }
    connected.Invoke();
}

}  // namespace zentri
