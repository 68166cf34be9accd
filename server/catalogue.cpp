#include "server/catalogue.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/text.h"

namespace zentri::server {

namespace {

constexpr const char* kAppColumns =
    "SELECT a.id, a.sysid, a.name, a.company, a.type, a.version, a.exe, a.install, a.package, "
    "a.description, a.icon, a.catid, a.revision, a.rates, a.views, a.downloads, a.createtime, "
    "a.rate_total, a.platforms, a.screens, a.needs, "
    "(SELECT COUNT(*) FROM reviews r WHERE r.app = a.id) FROM apps a ";

bool Contains(const std::string& foldedText, const std::string& foldedNeedle) {
    return foldedText.find(foldedNeedle) != std::string::npos;
}

bool MatchesText(const AppRecord& app, const AppFilter& filter) {
    if (filter.query.empty()) return true;
    std::string needle = platform::FoldCase(filter.query);
    auto in = [&](const std::string& field) { return Contains(platform::FoldCase(field), needle); };
    if (filter.in == "name") return in(app.name);
    if (filter.in == "com") return in(app.company);
    if (filter.in == "desc") return in(app.description);
    return in(app.name) || in(app.company) || in(app.description);
}

bool HasTags(const AppRecord& app, const std::vector<std::string>& tags) {
    return std::all_of(tags.begin(), tags.end(), [&](const std::string& tag) {
        return std::any_of(app.tags.begin(), app.tags.end(), [&](const std::string& own) {
            return platform::EqualsNoCase(own, tag);
        });
    });
}

bool MatchesPrice(const AppRecord& app, const std::string& price) {
    if (price == "free") return app.type == "free";
    if (price == "paid") return app.type != "free";
    return true;
}

// Descending by the chosen key; equal keys and the default order go by name, then id, so that
// pages never overlap.
void Sort(std::vector<AppRecord>& apps, const std::string& key) {
    auto value = [&](const AppRecord& a) -> double {
        if (key == "rates") return a.Rate();
        if (key == "downloads") return static_cast<double>(a.downloads);
        if (key == "views") return static_cast<double>(a.views);
        if (key == "createtime") return static_cast<double>(a.createtime);
        return 0;
    };
    std::stable_sort(apps.begin(), apps.end(), [&](const AppRecord& a, const AppRecord& b) {
        double va = value(a), vb = value(b);
        if (va != vb) return va > vb;
        if (key == "rates" && a.rates != b.rates) return a.rates > b.rates;
        if (a.name != b.name) return a.name < b.name;
        return a.id < b.id;
    });
}

}  // namespace

std::vector<AppRecord> Catalogue::Load(const char* where,
                                       const std::function<void(Statement&)>& bind) {
    auto lock = db_.Lock();
    std::vector<AppRecord> apps;
    Statement s(db_, std::string(kAppColumns) + where + " ORDER BY a.id");
    if (bind) bind(s);
    while (s.Step()) {
        AppRecord a;
        a.id = s.Int(0), a.sysid = s.Text(1), a.name = s.Text(2), a.company = s.Text(3);
        a.type = s.Text(4), a.version = s.Text(5), a.exe = s.Text(6), a.install = s.Text(7);
        a.package = s.Text(8), a.description = s.Text(9), a.icon = s.Text(10);
        a.catid = s.Int(11), a.revision = s.Int(12), a.rates = s.Int(13), a.views = s.Int(14);
        a.downloads = s.Int(15), a.createtime = s.Int(16), a.rateTotal = s.Real(17);
        a.requirements = Requirements::FromText(s.Text(18), s.Text(19), s.Text(20));
        a.reviews = s.Int(21);
        apps.push_back(std::move(a));
    }
    std::map<int64_t, AppRecord*> byId;
    for (auto& a : apps)
        byId[a.id] = &a;
    Statement tags(db_,
                   "SELECT at.app, t.name FROM app_tags at JOIN tags t ON t.id = at.tag "
                   "ORDER BY at.app, at.position");
    while (tags.Step())
        if (auto it = byId.find(tags.Int(0)); it != byId.end())
            it->second->tags.push_back(tags.Text(1));
    return apps;
}

std::vector<AppRecord> Catalogue::Offered(const DeviceProfile* profile) {
    std::vector<AppRecord> apps = Load("", nullptr);
    if (profile)
        std::erase_if(apps, [&](const AppRecord& a) { return !a.requirements.MetBy(*profile); });
    return apps;
}

std::vector<CategoryNode> Catalogue::Categories(const DeviceProfile* profile) {
    struct Row {
        int64_t id;
        std::optional<int64_t> parent;
        std::string name;
    };
    std::vector<Row> rows;
    {
        auto lock = db_.Lock();
        Statement s(db_, "SELECT id, parent, name FROM categories ORDER BY position, id");
        while (s.Step())
            rows.push_back(
                {s.Int(0), s.IsNull(1) ? std::nullopt : std::optional(s.Int(1)), s.Text(2)});
    }
    std::map<int64_t, int64_t> own;  // applications directly in each category
    for (const auto& app : Offered(profile))
        ++own[app.catid];

    // Builds the children of `parent` recursively; the depth is bounded by the rows.
    auto build = [&](auto& self, std::optional<int64_t> parent, int depth) {
        std::vector<CategoryNode> nodes;
        if (depth > 16) return nodes;
        for (const auto& row : rows) {
            if (row.parent != parent) continue;
            CategoryNode node{row.id, row.name, own[row.id], self(self, row.id, depth + 1)};
            for (const auto& child : node.children)
                node.count += child.count;
            nodes.push_back(std::move(node));
        }
        return nodes;
    };
    return build(build, std::nullopt, 0);
}

bool Catalogue::HasCategory(int64_t id) {
    auto lock = db_.Lock();
    Statement s(db_, "SELECT 1 FROM categories WHERE id = ?1");
    return s.Bind(1, id).Step();
}

std::vector<TagCount> Catalogue::Tags(const DeviceProfile* profile) {
    std::map<std::string, TagCount> counts;  // by folded name
    for (const auto& app : Offered(profile))
        for (const auto& tag : app.tags) {
            TagCount& entry = counts[platform::FoldCase(tag)];
            entry.name = tag;
            ++entry.count;
        }
    std::vector<TagCount> tags;
    for (auto& [folded, entry] : counts)
        tags.push_back(std::move(entry));
    return tags;
}

std::vector<AppRecord> Catalogue::Apps(const AppFilter& filter, const DeviceProfile* profile) {
    std::set<int64_t> categories;
    if (filter.category) {
        // The category and everything below it.
        auto lock = db_.Lock();
        categories.insert(*filter.category);
        Statement s(db_,
                    "WITH RECURSIVE below(id) AS (SELECT ?1 UNION SELECT c.id FROM categories c "
                    "JOIN below b ON c.parent = b.id) SELECT id FROM below");
        s.Bind(1, *filter.category);
        while (s.Step())
            categories.insert(s.Int(0));
    }
    std::vector<AppRecord> apps = Offered(profile);
    std::erase_if(apps, [&](const AppRecord& a) {
        return (filter.category && !categories.count(a.catid)) || !MatchesText(a, filter) ||
               !HasTags(a, filter.tags) || !MatchesPrice(a, filter.price);
    });
    Sort(apps, filter.sort);
    if (filter.count || filter.page) {
        int64_t count = filter.count.value_or(25);
        int64_t first = (filter.page.value_or(1) - 1) * count;
        if (first >= static_cast<int64_t>(apps.size())) return {};
        apps.erase(apps.begin(), apps.begin() + first);
        if (static_cast<int64_t>(apps.size()) > count) apps.resize(count);
    }
    return apps;
}

std::optional<AppRecord> Catalogue::AppById(int64_t id) {
    auto apps = Load("WHERE a.id = ?1", [&](Statement& s) { s.Bind(1, id); });
    if (apps.empty()) return std::nullopt;
    return apps.front();
}

std::optional<AppRecord> Catalogue::AppBySysid(const std::string& sysid) {
    auto apps = Load("WHERE a.sysid = ?1", [&](Statement& s) { s.Bind(1, sysid); });
    if (apps.empty()) return std::nullopt;
    return apps.front();
}

std::vector<std::string> Catalogue::Pictures(int64_t app) {
    auto lock = db_.Lock();
    std::vector<std::string> paths;
    Statement s(db_, "SELECT path FROM pictures WHERE app = ?1 ORDER BY position");
    s.Bind(1, app);
    while (s.Step())
        paths.push_back(s.Text(0));
    return paths;
}

std::vector<ReviewRecord> Catalogue::Reviews(int64_t app) {
    auto lock = db_.Lock();
    std::vector<ReviewRecord> reviews;
    Statement s(db_,
                "SELECT login, txt, rate FROM reviews WHERE app = ?1 "
                "ORDER BY created DESC, id DESC");
    s.Bind(1, app);
    while (s.Step())
        reviews.push_back({s.Text(0), s.Text(1), s.Int(2)});
    return reviews;
}

void Catalogue::CountView(int64_t app) {
    Transaction transaction(db_);
    Statement(db_, "UPDATE apps SET views = views + 1 WHERE id = ?1").Bind(1, app).Run();
    transaction.Commit();
}

void Catalogue::CountDownload(int64_t app) {
    Transaction transaction(db_);
    Statement(db_, "UPDATE apps SET downloads = downloads + 1 WHERE id = ?1").Bind(1, app).Run();
    transaction.Commit();
}

void Catalogue::Rate(int64_t account, const std::string& login, int64_t app, int rate,
                     const std::string& text) {
    Transaction transaction(db_);
    Statement old(db_, "SELECT rate FROM ratings WHERE account = ?1 AND app = ?2");
    if (old.Bind(1, account).Bind(2, app).Step()) {
        Statement(db_, "UPDATE apps SET rate_total = rate_total - ?1 + ?2 WHERE id = ?3")
            .Bind(1, old.Int(0))
            .Bind(2, rate)
            .Bind(3, app)
            .Run();
    } else {
        Statement(db_,
                  "UPDATE apps SET rate_total = rate_total + ?1, rates = rates + 1 WHERE id = ?2")
            .Bind(1, rate)
            .Bind(2, app)
            .Run();
    }
    Statement(db_, "INSERT OR REPLACE INTO ratings (account, app, rate) VALUES (?1, ?2, ?3)")
        .Bind(1, account)
        .Bind(2, app)
        .Bind(3, rate)
        .Run();

    Statement review(db_, "SELECT id FROM reviews WHERE account = ?1 AND app = ?2");
    if (review.Bind(1, account).Bind(2, app).Step()) {
        // The account's review follows its latest rating; new text replaces the old.
        if (text.empty()) {
            Statement(db_, "UPDATE reviews SET rate = ?1 WHERE id = ?2")
                .Bind(1, rate)
                .Bind(2, review.Int(0))
                .Run();
        } else {
            Statement(db_, "UPDATE reviews SET rate = ?1, txt = ?2, created = ?3 WHERE id = ?4")
                .Bind(1, rate)
                .Bind(2, text)
                .Bind(3, clock_.Now())
                .Bind(4, review.Int(0))
                .Run();
        }
    } else if (!text.empty()) {
        Statement(db_,
                  "INSERT INTO reviews (app, account, login, txt, rate, created) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
            .Bind(1, app)
            .Bind(2, account)
            .Bind(3, login)
            .Bind(4, text)
            .Bind(5, rate)
            .Bind(6, clock_.Now())
            .Run();
    }
    transaction.Commit();
}

}  // namespace zentri::server
