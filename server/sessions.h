#pragma once
// Sessions of signed-in clients: random ids, kept in the database so that a restart of the
// service signs nobody out, and ended after a time without requests.

#include <cstdint>
#include <string>
#include <string_view>

#include "server/clock.h"
#include "server/database.h"
#include "server/device_profile.h"

namespace zentri::server {

struct Session {
    std::string id;
    int64_t account = 0;
    std::string login;
    bool configured = false;  // "config" has been accepted; `profile` holds what it sent
    DeviceProfile profile;
};

class Sessions {
  public:
    Sessions(Database& db, const Clock& clock, int64_t idleSeconds)
        : db_(db), clock_(clock), idleSeconds_(idleSeconds) {}

    std::string Create(int64_t account);
    // 0 with the session filled in and its idle time restarted, or 203 when the id is unknown
    // or the session has been idle too long (it is then removed).
    int Resume(std::string_view id, Session& session);
    void Configure(const Session& session, const DeviceProfile& profile);

    int64_t IdleSeconds() const { return idleSeconds_; }

  private:
    Database& db_;
    const Clock& clock_;
    int64_t idleSeconds_;
};

}  // namespace zentri::server
