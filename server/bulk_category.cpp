#include "server/bulk_category.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/package_names.h"

namespace zentri::server {

namespace {

const char* const kAdjectives[] = {"Amber",  "Brisk",  "Cobalt", "Dusty", "Eager", "Fuzzy",
                                   "Golden", "Hidden", "Ivory",  "Jolly", "Keen",  "Lunar",
                                   "Mellow", "Nimble", "Opal",   "Proud", "Quiet", "Rapid",
                                   "Silver", "Tidy",   "Urban",  "Vivid", "Witty", "Zesty"};
const char* const kNouns[] = {"Atlas",  "Beacon",  "Canvas", "Dial",  "Engine", "Folio",
                              "Garden", "Harbour", "Index",  "Kite",  "Ledger", "Meter",
                              "Orbit",  "Planner", "Quill",  "Radar", "Sketch", "Timer",
                              "Vault",  "Widget",  "Yard",   "Zoom"};
const char* const kCompanies[] = {"Bulkworks", "Copperline", "Driftsoft", "Fernhill",
                                  "Gridlock",  "Hollowell",  "Lakeside",  "Northgate",
                                  "Pinecrest", "Redmarsh",   "Stonebay",  "Westbrook"};

// A fixed mix of the application's number (splitmix64), so that every run makes the same list.
uint64_t Mix(uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

template <size_t N>
const char* Pick(const char* const (&words)[N], uint64_t value) {
    return words[value % N];
}

std::string Number(int64_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%05lld", static_cast<long long>(n));
    return text;
}

// Icons of the seed applications, lent out in turn; empty when there are none.
std::vector<std::string> SeedIcons(Database& db) {
    std::vector<std::string> icons;
    Statement s(db, "SELECT icon FROM apps WHERE catid <> ?1 ORDER BY id");
    s.Bind(1, kBulkCategoryId);
    while (s.Step())
        icons.push_back(s.Text(0));
    return icons;
}

void RemoveBulk(Database& db) {
    const char* const dependents[] = {"ratings", "reviews", "app_tags", "pictures"};
    for (const char* table : dependents)
        Statement(db, std::string("DELETE FROM ") + table +
                          " WHERE app IN (SELECT id FROM apps WHERE catid = ?1)")
            .Bind(1, kBulkCategoryId)
            .Run();
    Statement(db, "DELETE FROM apps WHERE catid = ?1").Bind(1, kBulkCategoryId).Run();
    Statement(db, "DELETE FROM categories WHERE id = ?1").Bind(1, kBulkCategoryId).Run();
}

void AddBulk(Database& db, int64_t count) {
    Statement last(db, "SELECT COALESCE(MAX(position), 0) FROM categories");
    last.Step();
    Statement(db, "INSERT INTO categories (id, parent, name, position) VALUES (?1, NULL, ?2, ?3)")
        .Bind(1, kBulkCategoryId)
        .Bind(2, kBulkCategoryName)
        .Bind(3, last.Int(0) + 1)
        .Run();

    std::vector<std::string> icons = SeedIcons(db);
    Statement insert(db,
                     "INSERT INTO apps (id, sysid, name, company, catid, type, version, revision, "
                     "exe, install, package, description, icon, rate_total, rates, views, "
                     "downloads, createtime, platforms, screens, needs) VALUES (?1, ?2, ?3, ?4, "
                     "?5, ?6, '1.0', 1, '', ?7, '', ?8, ?9, ?10, ?11, ?12, ?13, ?14, '', '', '')");
    const int64_t newest = 1275350400;  // 2010-06-01: each later number is older
    for (int64_t n = 1; n <= count; ++n) {
        uint64_t h = Mix(static_cast<uint64_t>(n));
        std::string name =
            std::string(Pick(kAdjectives, h)) + " " + Pick(kNouns, h >> 8) + " " + Number(n);
        std::string company = Pick(kCompanies, h >> 16);
        std::string sysid = company + " " + name;
        const char* type = "free";  // half free, the rest paid, trial or demo
        switch ((h >> 24) % 10) {
            case 5:
            case 6:
            case 7:
                type = "paid";
                break;
            case 8:
                type = "trial";
                break;
            case 9:
                type = "demo";
                break;
            default:
                break;
        }
        // One in six has no votes yet; the others average 1 to 5 stars in quarter steps.
        int64_t rates = (h >> 32) % 6 == 0 ? 0 : 1 + static_cast<int64_t>((h >> 36) % 400);
        double average = 1.0 + 0.25 * static_cast<double>((h >> 44) % 17);
        int64_t downloads = static_cast<int64_t>((h >> 20) % 100000);
        insert.Reset();
        insert.Bind(1, kBulkFirstAppId + n)
            .Bind(2, sysid)
            .Bind(3, name)
            .Bind(4, company)
            .Bind(5, kBulkCategoryId)
            .Bind(6, type)
            .Bind(7, Slug(sysid) + ".cab")
            .Bind(8, "Generated application number " + std::to_string(n) + " by " + company +
                         ", for trying long lists.")
            .Bind(9, icons.empty() ? IconPath(kBulkFirstAppId + n)
                                   : icons[static_cast<size_t>(n - 1) % icons.size()])
            .Bind(10, average * static_cast<double>(rates))
            .Bind(11, rates)
            .Bind(12, downloads + static_cast<int64_t>((h >> 40) % 50000))
            .Bind(13, downloads)
            .Bind(14, newest - n * 7 * 3600 - static_cast<int64_t>(h % 3600))
            .Run();
    }
}

}  // namespace

void SetBulkCategory(Database& db, int64_t count) {
    if (count < 0 || count > kMaxBulkApps)
        throw std::invalid_argument("the bulk category holds 0 to " + std::to_string(kMaxBulkApps) +
                                    " applications");
    Transaction transaction(db);
    bool exists = false;
    int64_t held = 0;
    {
        Statement s(db,
                    "SELECT (SELECT COUNT(*) FROM categories WHERE id = ?1), "
                    "(SELECT COUNT(*) FROM apps WHERE catid = ?1)");
        s.Bind(1, kBulkCategoryId).Step();
        exists = s.Int(0) > 0;
        held = s.Int(1);
    }
    if ((exists && held == count) || (!exists && count == 0)) return;
    RemoveBulk(db);
    if (count > 0) AddBulk(db, count);
    transaction.Commit();
}

}  // namespace zentri::server
