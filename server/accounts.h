#pragma once
// Accounts of the catalogue: registration with an activation mail, sign-in, the password reset
// by mail, and the account commands of whoever runs the service. Passwords are kept only as
// salted slow hashes; the hashing runs outside the database lock.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/clock.h"
#include "server/database.h"
#include "server/outbox.h"
#include "server/password.h"

namespace zentri::server {

class Accounts {
  public:
    static constexpr int64_t kActivationLifetime = 7 * 24 * 3600;
    static constexpr int64_t kResetLifetime = 24 * 3600;

    Accounts(Database& db, Outbox& outbox, const Clock& clock, HashCost cost);

    // Result codes of the requests. `base` is the service's address ending in "/", used in the
    // links of the mails.
    int Register(std::string_view login, std::string_view password, std::string_view mail,
                 const std::string& base);
    // 0 with the account's id, 202 for an inactive account, 101 otherwise.
    int Authenticate(std::string_view login, std::string_view password, int64_t& account);
    int ResendActivation(std::string_view login, const std::string& base);
    // `key` is a login, or a mail address when `byMail`.
    int RequestReset(std::string_view key, bool byMail, const std::string& base);

    // The pages behind the mails' links.
    bool Activate(std::string_view token);
    bool IsResetTokenValid(std::string_view token);
    // 0, 108 for a password that is too short or long or that the client could not send
    // intact (with "%", "&" or "#"), or 110 for an unknown or expired token.
    int ResetPassword(std::string_view token, std::string_view password);

    // Commands of the operator.
    int Add(std::string_view login, std::string_view password, std::string_view mail, bool active);
    int ActivateLogin(std::string_view login);

    static int CheckLogin(std::string_view login);
    static int CheckMail(std::string_view mail);
    static int CheckPassword(std::string_view password);

  private:
    struct Row {
        int64_t id = 0;
        std::string login, mail, hash;
        bool active = false;
    };
    std::optional<Row> Find(std::string_view column, std::string_view value);
    int Insert(std::string_view login, const std::string& hash, std::string_view mail, bool active,
               int64_t& id);
    std::string NewToken(int64_t account, const char* kind, int64_t lifetime);
    std::optional<int64_t> TokenAccount(std::string_view token, const char* kind);
    bool SendMail(const Row& row, const char* kind, const std::string& subject,
                  const std::string& body);

    Database& db_;
    Outbox& outbox_;
    const Clock& clock_;
    HashCost cost_;
    std::string dummyHash_;  // verified for unknown logins, so both cases take as long
};

}  // namespace zentri::server
