#include "server/service.h"

#include <unistd.h>

#include <stdexcept>

#include "server/bulk_category.h"
#include "server/seed.h"

namespace zentri::server {

std::filesystem::path DefaultAssetsDir() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("assets") : self.parent_path() / "assets";
}

CatalogueService::CatalogueService(const ServiceOptions& options)
    : assetsDir_(options.assetsDir.empty() ? DefaultAssetsDir() : options.assetsDir),
      publicUrl_(options.publicUrl) {
    if (!publicUrl_.empty() && publicUrl_.back() != '/') publicUrl_ += '/';
    if (!InitSodium()) throw std::runtime_error("libsodium cannot be initialised");
    if (!options.clock) systemClock_ = std::make_unique<SystemClock>();
    clock_ = options.clock ? options.clock : systemClock_.get();

    std::error_code error;
    std::filesystem::create_directories(options.dataDir / "outbox", error);
    if (error)
        throw std::runtime_error("cannot create " + options.dataDir.string() + ": " +
                                 error.message());
    db_ = std::make_unique<Database>(options.dataDir / "catalogue.sqlite3");
    outbox_ = std::make_unique<Outbox>(options.dataDir / "outbox");
    accounts_ = std::make_unique<Accounts>(*db_, *outbox_, *clock_, options.hashCost);
    sessions_ = std::make_unique<Sessions>(*db_, *clock_, options.sessionIdleSeconds);
    catalogue_ = std::make_unique<Catalogue>(*db_, *clock_);

    if (!IsSeeded(*db_)) {
        std::string message;
        if (!LoadSeed(*db_, options.hashCost, clock_->Now(), assetsDir_ / "catalogue.xml", message))
            throw std::runtime_error("cannot load the seed catalogue: " + message);
    }
    if (options.bulkCategoryApps) SetBulkCategory(*db_, *options.bulkCategoryApps);
}

std::filesystem::path CatalogueService::Asset(const std::string& relative) const {
    if (relative.empty() || relative.find("..") != std::string::npos || relative.front() == '/' ||
        relative.find('\\') != std::string::npos)
        return {};
    std::filesystem::path file = assetsDir_ / relative;
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) ? file : std::filesystem::path{};
}

}  // namespace zentri::server
