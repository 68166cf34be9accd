#include "server/seed.h"

#include <ctime>
#include <set>
#include <stdexcept>

#include <pugixml.hpp>

#include <vector>
#include "server/package_names.h"
#include "server/query.h"
#include "server/result_code.h"

namespace zentri::server {

namespace {

struct SeedError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const char* Required(pugi::xml_node node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) throw SeedError(std::string(node.name()) + " without \"" + name + "\"");
    return a.value();
}

int64_t Number(pugi::xml_node node, const char* name, int64_t fallback = -1) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) {
        if (fallback >= 0) return fallback;
        throw SeedError(std::string(node.name()) + " without \"" + name + "\"");
    }
    auto value = ReadInteger(a.value());
    if (!value || *value < 0)
        throw SeedError(std::string(name) + "=\"" + a.value() + "\" is not a number");
    return *value;
}

int64_t Date(pugi::xml_node node, const char* name) {
    int64_t t = ParseDate(Required(node, name));
    if (t < 0) throw SeedError(std::string(name) + " is not a date (YYYY-MM-DD)");
    return t;
}

void LoadCategories(Database& db, pugi::xml_node parent, std::optional<int64_t> parentId,
                    int& position) {
    for (pugi::xml_node c : parent.children("category")) {
        int64_t id = Number(c, "id");
        Statement(db, "INSERT INTO categories (id, parent, name, position) VALUES (?1, ?2, ?3, ?4)")
            .Bind(1, id)
            .Bind(2, parentId)
            .Bind(3, Required(c, "name"))
            .Bind(4, position++)
            .Run();
        LoadCategories(db, c, id, position);
    }
}

int64_t TagId(Database& db, const std::string& name) {
    Statement find(db, "SELECT id FROM tags WHERE name = ?1");
    if (find.Bind(1, name).Step()) return find.Int(0);
    Statement(db, "INSERT INTO tags (name) VALUES (?1)").Bind(1, name).Run();
    return db.LastInsertId();
}

void LoadApp(Database& db, pugi::xml_node app) {
    int64_t id = Number(app, "id");
    std::string company = Required(app, "company");
    std::string name = Required(app, "name");
    std::string sysid = app.attribute("sysid").as_string((company + " " + name).c_str());
    std::string type = Required(app, "type");
    if (type != "free" && type != "paid" && type != "trial" && type != "demo")
        throw SeedError("app " + std::to_string(id) + ": unknown price kind " + type);
    int64_t revision = Number(app, "revision");
    std::string install = app.attribute("install").as_string((Slug(sysid) + ".cab").c_str());
    // Applications without a package are listed, but "download" refuses them.
    std::string package = *app.attribute("package").value() ? PackagePath(sysid, revision) : "";
    if (std::string prebuilt = app.attribute("prebuilt").value(); !prebuilt.empty())
        package = PrebuiltPackagePath(prebuilt);
    double rates = static_cast<double>(Number(app, "rates", 0));
    double average = app.attribute("rate").as_double(0);
    if (average < 0 || average > 5) throw SeedError("app " + std::to_string(id) + ": bad rate");

    Statement(db,
              "INSERT INTO apps (id, sysid, name, company, catid, type, version, revision, exe, "
              "install, package, description, icon, rate_total, rates, views, downloads, "
              "createtime, platforms, screens, needs) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
              "?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21)")
        .Bind(1, id)
        .Bind(2, sysid)
        .Bind(3, name)
        .Bind(4, company)
        .Bind(5, Number(app, "category"))
        .Bind(6, type)
        .Bind(7, Required(app, "version"))
        .Bind(8, revision)
        .Bind(9, app.attribute("exe").as_string())
        .Bind(10, install)
        .Bind(11, package)
        .Bind(12, app.child_value("description"))
        .Bind(13, IconPath(id))
        .Bind(14, average * rates)
        .Bind(15, static_cast<int64_t>(rates))
        .Bind(16, Number(app, "views", 0))
        .Bind(17, Number(app, "downloads", 0))
        .Bind(18, Date(app, "created"))
        .Bind(19, app.attribute("platforms").as_string())
        .Bind(20, app.attribute("screens").as_string())
        .Bind(21, app.attribute("needs").as_string())
        .Run();

    int position = 0;
    for (const std::string& tag : SplitCommaList(app.child_value("tags")))
        Statement(db, "INSERT OR IGNORE INTO app_tags (app, tag, position) VALUES (?1, ?2, ?3)")
            .Bind(1, id)
            .Bind(2, TagId(db, tag))
            .Bind(3, position++)
            .Run();
    int number = 0;
    for (pugi::xml_node shot : app.children("screenshot")) {
        bool jpeg = std::string(Required(shot, "format")) == "jpeg";
        Statement(db, "INSERT INTO pictures (app, position, path) VALUES (?1, ?2, ?3)")
            .Bind(1, id)
            .Bind(2, number)
            .Bind(3, ShotPath(id, number + 1, jpeg))
            .Run();
        ++number;
    }
    for (pugi::xml_node review : app.children("review")) {
        int64_t rate = Number(review, "rate");
        if (rate < 1 || rate > 5) throw SeedError("review rate outside 1 to 5");
        Statement(
            db, "INSERT INTO reviews (app, login, txt, rate, created) VALUES (?1, ?2, ?3, ?4, ?5)")
            .Bind(1, id)
            .Bind(2, Required(review, "login"))
            .Bind(3, review.child_value())
            .Bind(4, rate)
            .Bind(5, Date(review, "created"))
            .Run();
    }
}

}  // namespace

int64_t ParseDate(const std::string& text) {
    struct tm date {};
    if (text.size() != 10 || !strptime(text.c_str(), "%Y-%m-%d", &date)) return -1;
    return static_cast<int64_t>(timegm(&date));
}

bool IsSeeded(Database& db) {
    auto lock = db.Lock();
    Statement s(db, "SELECT value FROM meta WHERE key = 'seeded'");
    return s.Step();
}

bool LoadSeed(Database& db, HashCost cost, int64_t now, const std::filesystem::path& file,
              std::string& error) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(file.c_str());
    if (!parsed) {
        error = file.string() + ": " + parsed.description();
        return false;
    }
    pugi::xml_node root = doc.child("catalogue");
    try {
        // The slow hashes first, so that the one transaction below stays short.
        struct Account {
            std::string login, mail, hash;
            bool active;
        };
        std::vector<Account> accounts;
        for (pugi::xml_node a : root.child("accounts").children("account")) {
            std::string login = Required(a, "login"), mail = Required(a, "mail");
            std::string password = Required(a, "password");
            if (Accounts::CheckLogin(login) || Accounts::CheckMail(mail) ||
                Accounts::CheckPassword(password))
                throw SeedError("account " + login + " has an unusable login, mail or password");
            auto hash = HashPassword(password, cost);
            if (!hash) throw SeedError("no memory for a password hash");
            accounts.push_back({login, mail, *hash, a.attribute("active").as_bool()});
        }

        Transaction transaction(db);
        // Another process on the same data folder (the service and an account command started
        // together) may have seeded it since the caller looked; its catalogue stands.
        if (IsSeeded(db)) return true;
        int position = 0;
        LoadCategories(db, root.child("categories"), std::nullopt, position);
        for (pugi::xml_node app : root.child("apps").children("app"))
            LoadApp(db, app);
        for (const Account& a : accounts)
            Statement(db,
                      "INSERT INTO accounts (login, mail, hash, active, created) "
                      "VALUES (?1, ?2, ?3, ?4, ?5)")
                .Bind(1, a.login)
                .Bind(2, a.mail)
                .Bind(3, a.hash)
                .Bind(4, a.active ? 1 : 0)
                .Bind(5, now)
                .Run();
        Statement(db, "INSERT INTO meta (key, value) VALUES ('seeded', ?1)")
            .Bind(1, file.string())
            .Run();
        transaction.Commit();
    } catch (const std::exception& e) {
        error = file.string() + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace zentri::server
