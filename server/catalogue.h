#pragma once
// The catalogue's queries: categories, tags, application lists with their filters, details,
// reviews, and the counters and ratings that requests change. Lists are filtered by the device
// profile of the session when it has one.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "server/clock.h"
#include "server/database.h"
#include "server/device_profile.h"

namespace zentri::server {

struct AppRecord {
    int64_t id = 0;
    std::string sysid, name, company, type, version, exe, install, package, description, icon;
    int64_t catid = 0, revision = 0, rates = 0, reviews = 0, views = 0, downloads = 0;
    int64_t createtime = 0;
    double rateTotal = 0;
    Requirements requirements;
    std::vector<std::string> tags;  // in the catalogue's order

    double Rate() const { return rates > 0 ? rateTotal / static_cast<double>(rates) : 0.0; }
};

struct CategoryNode {
    int64_t id = 0;
    std::string name;
    int64_t count = 0;  // applications here and in every sub-category
    std::vector<CategoryNode> children;
};

struct TagCount {
    std::string name;
    int64_t count = 0;
};

struct ReviewRecord {
    std::string login, txt;
    int64_t rate = 0;
};

// "getapps" parameters, already checked.
struct AppFilter {
    std::optional<int64_t> category;
    std::string query;
    std::string in;  // "name", "com", "desc" or empty for all three
    std::vector<std::string> tags;
    std::string price;  // "paid", "free" or empty
    std::string sort;   // "rates", "downloads", "views", "createtime" or empty (by name)
    std::optional<int64_t> count;
    std::optional<int64_t> page;  // 1 is the first page
};

class Catalogue {
  public:
    Catalogue(Database& db, const Clock& clock) : db_(db), clock_(clock) {}

    // Whole tree under an invisible root; counts follow the profile when there is one.
    std::vector<CategoryNode> Categories(const DeviceProfile* profile);
    bool HasCategory(int64_t id);
    // Tags with the number of offered applications that carry them; tags without any are left
    // out. Ordered by name.
    std::vector<TagCount> Tags(const DeviceProfile* profile);
    std::vector<AppRecord> Apps(const AppFilter& filter, const DeviceProfile* profile);

    std::optional<AppRecord> AppById(int64_t id);
    std::optional<AppRecord> AppBySysid(const std::string& sysid);
    std::vector<std::string> Pictures(int64_t app);
    std::vector<ReviewRecord> Reviews(int64_t app);

    void CountView(int64_t app);
    void CountDownload(int64_t app);
    // Keeps one rating per account and application: a second replaces the first in the average
    // and in the review list. A non-empty text becomes (or replaces) the account's review.
    void Rate(int64_t account, const std::string& login, int64_t app, int rate,
              const std::string& text);

  private:
    std::vector<AppRecord> Load(const char* where, const std::function<void(Statement&)>& bind);
    std::vector<AppRecord> Offered(const DeviceProfile* profile);

    Database& db_;
    const Clock& clock_;
};

}  // namespace zentri::server
