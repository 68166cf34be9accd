#pragma once
// The catalogue service without its HTTP front: the database in the data folder (created and
// seeded on first start), the accounts, sessions and catalogue over it, the mail outbox and the
// built assets (seed file, pictures, packages).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "server/accounts.h"
#include "server/catalogue.h"
#include "server/clock.h"
#include "server/database.h"
#include "server/outbox.h"
#include "server/sessions.h"

namespace zentri::server {

struct ServiceOptions {
    std::filesystem::path dataDir;    // database and outbox; created when missing
    std::filesystem::path assetsDir;  // catalogue.xml, media/, packages/ (built with the program)
    HashCost hashCost = HashCost::Interactive;
    int64_t sessionIdleSeconds = 30 * 60;
    const Clock* clock = nullptr;  // the system clock when null
    // The address people reach the service at, for the links in mails ("http://host:port/");
    // empty: the address the service listens on.
    std::string publicUrl;
    // When set, the category of generated applications is made to hold this many (0 removes
    // it); otherwise the data folder keeps what it has.
    std::optional<int64_t> bulkCategoryApps;
};

// The assets folder beside the running program ("<folder of the executable>/assets").
std::filesystem::path DefaultAssetsDir();

class CatalogueService {
  public:
    // Throws std::runtime_error when the data folder or the database cannot be used, or the
    // seed cannot be loaded on first start.
    explicit CatalogueService(const ServiceOptions& options);

    Database& Db() { return *db_; }
    Accounts& AccountStore() { return *accounts_; }
    Sessions& SessionStore() { return *sessions_; }
    Catalogue& Apps() { return *catalogue_; }
    Outbox& Mail() { return *outbox_; }
    const Clock& Time() const { return *clock_; }
    const std::filesystem::path& AssetsDir() const { return assetsDir_; }
    // Mail links start with this address. It is never taken from a request, so that nobody can
    // have a reset link sent that points elsewhere.
    const std::string& PublicUrl() const { return publicUrl_; }
    void SetDefaultPublicUrl(const std::string& url) {
        if (publicUrl_.empty()) publicUrl_ = url;
    }
    // A file below the assets folder, or an empty path when `relative` is missing or would
    // leave the folder.
    std::filesystem::path Asset(const std::string& relative) const;

  private:
    std::unique_ptr<SystemClock> systemClock_;
    const Clock* clock_;
    std::filesystem::path assetsDir_;
    std::string publicUrl_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Outbox> outbox_;
    std::unique_ptr<Accounts> accounts_;
    std::unique_ptr<Sessions> sessions_;
    std::unique_ptr<Catalogue> catalogue_;
};

}  // namespace zentri::server
