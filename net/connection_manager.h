#pragma once
// Makes sure the device has a data connection before transfers start. On this host the network
// is managed by the system and is always "up" from the program's point of view: Connect reports
// the end of the connection attempt at once; transfers that cannot reach their server fail by
// themselves.

#include <mutex>

#include "ui/delegate.h"
#include "ui/singleton.h"

namespace zentri {

class ConnectionManager : public Singleton<ConnectionManager> {
  public:
    // Brings the data connection up and fires the connected event when the attempt has ended
    // (here: at once, on the caller's thread). The event's handlers run without this manager's
    // lock held, so they may take the transport's queue lock.
    void Connect();

    // The connected event. Subscribers must outlive their subscription or unsubscribe first.
    template <class T>
    void Subscribe(T* object, void (T::*method)()) {
        std::lock_guard<std::mutex> lock(lock_);
        connected_.Add(object, method);
    }
    template <class T>
    void Unsubscribe(T* object) {
        std::lock_guard<std::mutex> lock(lock_);
        connected_.RemoveObject(object);
    }

  private:
    friend class Singleton<ConnectionManager>;
    ConnectionManager() = default;

    std::mutex lock_;  // guards connected_ (the last lock in the order appLock, queue, this)
    Delegation_0 connected_;
};

}  // namespace zentri
