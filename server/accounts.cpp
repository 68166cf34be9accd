#include "server/accounts.h"

#include "server/result_code.h"

namespace zentri::server {

namespace {

// Characters that would split or end a query, or that the service would decode, cannot be sent
// by the client inside a login or a mail address.
bool IsPlainChar(char c) {
    return c > 32 && c < 127 && c != '%' && c != '&' && c != '=' && c != '#' && c != '?';
}

}  // namespace

Accounts::Accounts(Database& db, Outbox& outbox, const Clock& clock, HashCost cost)
    : db_(db), outbox_(outbox), clock_(clock), cost_(cost) {
    dummyHash_ = HashPassword("no account has this password", cost).value_or("");
}

int Accounts::CheckLogin(std::string_view login) {
    if (login.size() < 2 || login.size() > 32) return kBadLogin;
    for (char c : login)
        if (!IsPlainChar(c)) return kBadLogin;
    return kOk;
}

int Accounts::CheckMail(std::string_view mail) {
    if (mail.size() < 5 || mail.size() > 100) return kBadMail;
    for (char c : mail)
        if (!IsPlainChar(c)) return kBadMail;
    size_t at = mail.rfind('@');
    if (at == 0 || at == std::string_view::npos || mail.find('@') != at) return kBadMail;
    std::string_view domain = mail.substr(at + 1);
    size_t dot = domain.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == domain.size()) return kBadMail;
    return kOk;
}

int Accounts::CheckPassword(std::string_view password) {
    return password.size() < 6 || password.size() > 128 ? kBadPassword : kOk;
}

std::optional<Accounts::Row> Accounts::Find(std::string_view column, std::string_view value) {
    auto lock = db_.Lock();
    Statement s(db_, "SELECT id, login, mail, hash, active FROM accounts WHERE " +
                         std::string(column) + " = ?1");
    s.Bind(1, value);
    if (!s.Step()) return std::nullopt;
    return Row{s.Int(0), s.Text(1), s.Text(2), s.Text(3), s.Int(4) != 0};
}

int Accounts::Insert(std::string_view login, const std::string& hash, std::string_view mail,
                     bool active, int64_t& id) {
    Transaction transaction(db_);
    for (auto [column, value, code] :
         {std::tuple{"login", login, kLoginTaken}, std::tuple{"mail", mail, kMailTaken}}) {
        Statement s(db_, "SELECT 1 FROM accounts WHERE " + std::string(column) + " = ?1");
        if (s.Bind(1, value).Step()) return code;
    }
    Statement s(db_,
                "INSERT INTO accounts (login, mail, hash, active, created) "
                "VALUES (?1, ?2, ?3, ?4, ?5)");
    s.Bind(1, login).Bind(2, mail).Bind(3, hash).Bind(4, active ? 1 : 0).Bind(5, clock_.Now());
    s.Run();
    id = db_.LastInsertId();
    transaction.Commit();
    return kOk;
}

int Accounts::Register(std::string_view login, std::string_view password, std::string_view mail,
                       const std::string& base) {
    for (int code : {CheckLogin(login), CheckMail(mail), CheckPassword(password)})
        if (code != kOk) return code;
    // Refuse a taken name before spending time on the hash; Insert checks again under the lock.
    if (Find("login", login)) return kLoginTaken;
    if (Find("mail", mail)) return kMailTaken;
    auto hash = HashPassword(password, cost_);
    if (!hash) return kServiceFailure;
    int64_t id = 0;
    if (int code = Insert(login, *hash, mail, false, id); code != kOk) return code;
    if (ResendActivation(login, base) == kOk) return kOk;
    // Without its mail the account could never be activated, and the refusal tells the client
    // that nothing was changed: take the account back, so that trying again can succeed.
    Transaction transaction(db_);
    Statement(db_, "DELETE FROM tokens WHERE account = ?1").Bind(1, id).Run();
    Statement(db_, "DELETE FROM accounts WHERE id = ?1").Bind(1, id).Run();
    transaction.Commit();
    return kServiceFailure;
}

int Accounts::Authenticate(std::string_view login, std::string_view password, int64_t& account) {
    auto row = Find("login", login);
    if (!row) {
        VerifyPassword(dummyHash_, password);
        return kWrongCredentials;
    }
    if (!VerifyPassword(row->hash, password)) return kWrongCredentials;
    if (!row->active) return kNotActivated;
    account = row->id;
    return kOk;
}

std::string Accounts::NewToken(int64_t account, const char* kind, int64_t lifetime) {
    std::string token = RandomHex(20);
    Transaction transaction(db_);
    // Only the newest link of a kind works; expired tokens of anyone go as well.
    Statement drop(db_, "DELETE FROM tokens WHERE (account = ?1 AND kind = ?2) OR expires < ?3");
    drop.Bind(1, account).Bind(2, kind).Bind(3, clock_.Now()).Run();
    Statement add(db_,
                  "INSERT INTO tokens (token, account, kind, expires) VALUES (?1, ?2, ?3, ?4)");
    add.Bind(1, token).Bind(2, account).Bind(3, kind).Bind(4, clock_.Now() + lifetime).Run();
    transaction.Commit();
    return token;
}

std::optional<int64_t> Accounts::TokenAccount(std::string_view token, const char* kind) {
    auto lock = db_.Lock();
    Statement s(db_, "SELECT account FROM tokens WHERE token = ?1 AND kind = ?2 AND expires >= ?3");
    s.Bind(1, token).Bind(2, kind).Bind(3, clock_.Now());
    if (!s.Step()) return std::nullopt;
    return s.Int(0);
}

bool Accounts::SendMail(const Row& row, const char* kind, const std::string& subject,
                        const std::string& body) {
    return !outbox_.Send({row.mail, subject, body}, kind, clock_.Now()).empty();
}

int Accounts::ResendActivation(std::string_view login, const std::string& base) {
    auto row = Find("login", login);
    if (!row) return kUnknownAccount;
    if (row->active) return kAlreadyActive;
    std::string link =
        base + "activate?token=" + NewToken(row->id, "activate", kActivationLifetime);
    std::string body = "Hello " + row->login + ",\r\n\r\n" +
                       "welcome to the Zentri catalogue. Please open this address to activate "
                       "your account:\r\n\r\n    " +
                       link + "\r\n\r\nThe link is valid for seven days.\r\n";
    return SendMail(*row, "activation", "Activate your Zentri account", body) ? kOk
                                                                              : kServiceFailure;
}

int Accounts::RequestReset(std::string_view key, bool byMail, const std::string& base) {
    auto row = Find(byMail ? "mail" : "login", key);
    if (!row) return kUnknownAccount;
    std::string link = base + "reset?token=" + NewToken(row->id, "reset", kResetLifetime);
    std::string body = "Hello " + row->login + ",\r\n\r\n" +
                       "someone asked to reset the password of your Zentri account. To choose "
                       "a new password, open this address:\r\n\r\n    " +
                       link +
                       "\r\n\r\nThe link is valid for one day. If you did not ask for it, "
                       "ignore this mail; your password stays as it is.\r\n";
    return SendMail(*row, "reset", "Your Zentri password", body) ? kOk : kServiceFailure;
}

bool Accounts::Activate(std::string_view token) {
    auto account = TokenAccount(token, "activate");
    if (!account) return false;
    Transaction transaction(db_);
    Statement(db_, "UPDATE accounts SET active = 1 WHERE id = ?1").Bind(1, *account).Run();
    Statement(db_, "DELETE FROM tokens WHERE token = ?1").Bind(1, token).Run();
    transaction.Commit();
    return true;
}

bool Accounts::IsResetTokenValid(std::string_view token) {
    return TokenAccount(token, "reset").has_value();
}

int Accounts::ResetPassword(std::string_view token, std::string_view password) {
    if (!TokenAccount(token, "reset")) return kInvalidValue;
    if (int code = CheckPassword(password); code != kOk) return code;
    // The page takes any text, but the client sends passwords in the query as typed: "&" and
    // "#" would cut them short and "%" may be read as one of its escapes, so such a password
    // could never sign in.
    if (password.find_first_of("%&#") != std::string_view::npos) return kBadPassword;
    auto hash = HashPassword(password, cost_);
    if (!hash) return kServiceFailure;
    Transaction transaction(db_);
    auto account = TokenAccount(token, "reset");  // again, now under the lock
    if (!account) return kInvalidValue;
    Statement(db_, "UPDATE accounts SET hash = ?1 WHERE id = ?2")
        .Bind(1, *hash)
        .Bind(2, *account)
        .Run();
    Statement(db_, "DELETE FROM tokens WHERE token = ?1").Bind(1, token).Run();
    // Whoever signed in with the old password is signed out.
    Statement(db_, "DELETE FROM sessions WHERE account = ?1").Bind(1, *account).Run();
    transaction.Commit();
    return kOk;
}

int Accounts::Add(std::string_view login, std::string_view password, std::string_view mail,
                  bool active) {
    for (int code : {CheckLogin(login), CheckMail(mail), CheckPassword(password)})
        if (code != kOk) return code;
    auto hash = HashPassword(password, cost_);
    if (!hash) return kServiceFailure;
    int64_t id = 0;
    return Insert(login, *hash, mail, active, id);
}

int Accounts::ActivateLogin(std::string_view login) {
    auto row = Find("login", login);
    if (!row) return kUnknownAccount;
    if (row->active) return kAlreadyActive;
    Transaction transaction(db_);
    Statement(db_, "UPDATE accounts SET active = 1 WHERE id = ?1").Bind(1, row->id).Run();
    Statement(db_, "DELETE FROM tokens WHERE account = ?1 AND kind = 'activate'")
        .Bind(1, row->id)
        .Run();
    transaction.Commit();
    return kOk;
}

}  // namespace zentri::server
