#include "server/sessions.h"

#include "server/password.h"
#include "server/result_code.h"

namespace zentri::server {

std::string Sessions::Create(int64_t account) {
    std::string id = RandomHex(16);
    Transaction transaction(db_);
    Statement(db_, "DELETE FROM sessions WHERE last_seen < ?1")
        .Bind(1, clock_.Now() - idleSeconds_)
        .Run();
    Statement(db_, "INSERT INTO sessions (id, account, last_seen) VALUES (?1, ?2, ?3)")
        .Bind(1, id)
        .Bind(2, account)
        .Bind(3, clock_.Now())
        .Run();
    transaction.Commit();
    return id;
}

int Sessions::Resume(std::string_view id, Session& session) {
    if (id.empty()) return kSessionInvalid;
    Transaction transaction(db_);
    Statement s(db_,
                "SELECT s.account, a.login, s.last_seen, s.configured, s.locale, s.osver, s.w, "
                "s.h, s.features FROM sessions s JOIN accounts a ON a.id = s.account "
                "WHERE s.id = ?1");
    if (!s.Bind(1, id).Step()) return kSessionInvalid;
    int64_t now = clock_.Now();
    if (s.Int(2) < now - idleSeconds_) {
        Statement(db_, "DELETE FROM sessions WHERE id = ?1").Bind(1, id).Run();
        transaction.Commit();
        return kSessionInvalid;
    }
    session.id = std::string(id);
    session.account = s.Int(0);
    session.login = s.Text(1);
    session.configured = s.Int(3) != 0;
    session.profile =
        DeviceProfile{s.Text(4), s.Text(5), static_cast<int>(s.Int(6)), static_cast<int>(s.Int(7)),
                      DeviceProfile::SplitWords(s.Text(8))};
    // Restarting the idle time costs a write; within the same second it is skipped.
    if (s.Int(2) != now)
        Statement(db_, "UPDATE sessions SET last_seen = ?1 WHERE id = ?2")
            .Bind(1, now)
            .Bind(2, id)
            .Run();
    transaction.Commit();
    return kOk;
}

void Sessions::Configure(const Session& session, const DeviceProfile& profile) {
    Transaction transaction(db_);
    Statement(db_,
              "UPDATE sessions SET configured = 1, locale = ?1, osver = ?2, w = ?3, h = ?4, "
              "features = ?5 WHERE id = ?6")
        .Bind(1, profile.locale)
        .Bind(2, profile.osver)
        .Bind(3, profile.w)
        .Bind(4, profile.h)
        .Bind(5, profile.FeatureText())
        .Bind(6, session.id)
        .Run();
    transaction.Commit();
}

}  // namespace zentri::server
