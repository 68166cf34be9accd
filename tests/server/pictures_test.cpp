// The catalogue's pictures: every application of the seed looks different, the templates
// fill into well-formed SVG for every kind of screen whatever the names hold, and the build
// wrote icons and screenshots at the sizes the client expects.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include <pugixml.hpp>

#include "server/assets/pictures.h"
#include "server/package_names.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::assets {
namespace {

std::vector<AppEntry> SeedApps() {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((test::AssetsDir() / "catalogue.xml").c_str()));
    std::vector<AppEntry> apps;
    for (pugi::xml_node app : doc.child("catalogue").child("apps").children("app")) {
        AppEntry e;
        e.name = app.attribute("name").value();
        e.company = app.attribute("company").value();
        e.sysid = e.company + " " + e.name;
        e.category = app.attribute("category").as_int();
        e.description = app.child_value("description");
        e.colour = app.child("art").attribute("colour").value();
        e.shape = app.child("art").attribute("shape").value();
        apps.push_back(e);
    }
    return apps;
}

// librsvg refuses an element that repeats an attribute; pugixml does not check that.
struct RepeatedAttribute : pugi::xml_tree_walker {
    std::string found;
    bool for_each(pugi::xml_node& node) override {
        std::set<std::string> names;
        for (pugi::xml_attribute a : node.attributes())
            if (!names.insert(a.name()).second) found = std::string(node.name()) + "@" + a.name();
        return found.empty();
    }
};

std::string Repeated(pugi::xml_document& doc) {
    RepeatedAttribute walker;
    doc.traverse(walker);
    return walker.found;
}

PictureTemplates Templates() {
    PictureTemplates t;
    std::string error;
    EXPECT_TRUE(LoadTemplates(ZENTRI_PICTURE_TEMPLATES, t, error)) << error;
    return t;
}

TEST(CataloguePictures, EveryApplicationLooksDifferentAndCompaniesKeepOneHouseStyle) {
    std::vector<AppEntry> apps = SeedApps();
    ASSERT_GT(apps.size(), 60u);
    std::set<std::tuple<std::string, std::string, std::string>> looks;
    std::map<std::string, std::pair<std::string, std::string>> house;  // company: font, pattern
    for (const AppEntry& app : apps) {
        PictureStyle style = StyleFor(app);
        EXPECT_TRUE(looks.insert({style.main, style.glyph, style.shapePath}).second)
            << app.sysid << " looks like another application";
        auto [it, first] = house.insert({app.company, {style.font, style.pattern}});
        if (!first) {
            EXPECT_EQ(it->second, std::make_pair(style.font, style.pattern)) << app.sysid;
        }
    }
}

TEST(CataloguePictures, SeedColourAndShapeWinOverDerivedOnesUnlessMalformed) {
    AppEntry app{"Acme Tool", "Tool", "Acme", "", 43, "#2a6fb0", "circle"};
    PictureStyle chosen = StyleFor(app);
    EXPECT_EQ(chosen.main, "#2a6fb0");
    app.shape = "square";
    EXPECT_NE(StyleFor(app).shapePath, chosen.shapePath);
    app.colour = "#2a6fbz";
    EXPECT_NE(StyleFor(app).main, "#2a6fb0");
}

TEST(CataloguePictures, FilledTemplatesAreWellFormedForEveryKindAndAwkwardNames) {
    PictureTemplates templates = Templates();
    // One category of each kind of screen, and a name and description full of XML's own
    // characters.
    for (int category : {0,   23,  43,  51,  61,  62,  111, 112, 121, 122, 131,
                         132, 211, 212, 222, 311, 312, 321, 411, 412, 421, 521}) {
        for (const char* name :
             {"Tom & Jerry's <Go> Chess", "Mine \"Brick\" Maze Radio Drum Tuner"}) {
            AppEntry app{std::string("R&D ") + name,
                         name,
                         "R&D <Labs>",
                         "Fast, small & simple: <b>no</b> \"ads\".",
                         category,
                         "",
                         ""};
            PictureStyle style = StyleFor(app);
            std::string error;
            std::string icon = IconSvg(templates, style, error);
            ASSERT_FALSE(icon.empty()) << error;
            pugi::xml_document doc;
            EXPECT_TRUE(doc.load_string(icon.c_str())) << "icon, " << name;
            EXPECT_EQ(Repeated(doc), "") << "icon, " << name;
            for (bool portrait : {true, false}) {
                for (int number : {1, 2}) {
                    std::string shot =
                        ScreenshotSvg(templates, style, app, number, portrait, error);
                    ASSERT_FALSE(shot.empty()) << error;
                    pugi::xml_parse_result parsed = doc.load_string(shot.c_str());
                    EXPECT_TRUE(parsed)
                        << "category " << category << ", " << name << ": " << parsed.description();
                    EXPECT_EQ(Repeated(doc), "") << "category " << category << ", " << name;
                    EXPECT_EQ(doc.child("svg").attribute("width").as_int(), portrait ? 240 : 320);
                }
            }
        }
    }
}

TEST(CataloguePictures, ATemplateNamingAnUnknownValueIsRefused) {
    PictureTemplates templates = Templates();
    templates.icon += "<!-- @NO_SUCH_VALUE@ -->";
    std::string error;
    EXPECT_EQ(IconSvg(templates, StyleFor(AppEntry{"A B", "B", "A", "", 0, "", ""}), error), "");
    EXPECT_NE(error.find("NO_SUCH_VALUE"), std::string::npos);
}

struct PngSize {
    int width = 0, height = 0, colourType = -1;
};

PngSize SizeOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(26, '\0');
    in.read(bytes.data(), 26);
    if (!in || bytes.compare(1, 3, "PNG") != 0) return {};
    auto u32 = [&](int at) {
        return (uint8_t(bytes[at]) << 24) | (uint8_t(bytes[at + 1]) << 16) |
               (uint8_t(bytes[at + 2]) << 8) | uint8_t(bytes[at + 3]);
    };
    return {int(u32(16)), int(u32(20)), uint8_t(bytes[25])};
}

TEST(CataloguePictures, BuiltIconsAndScreenshotsHaveTheirSizes) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((test::AssetsDir() / "catalogue.xml").c_str()));
    for (pugi::xml_node app : doc.child("catalogue").child("apps").children("app")) {
        int64_t id = app.attribute("id").as_llong();
        PngSize icon = SizeOf(test::AssetsDir() / IconPath(id));
        EXPECT_EQ(std::tie(icon.width, icon.height, icon.colourType), std::make_tuple(64, 64, 6))
            << "icon of " << id;
        int number = 0;
        for (pugi::xml_node shot : app.children("screenshot")) {
            ++number;
            bool jpeg = std::string(shot.attribute("format").value()) == "jpeg";
            std::filesystem::path file = test::AssetsDir() / ShotPath(id, number, jpeg);
            ASSERT_TRUE(std::filesystem::exists(file)) << file;
            if (jpeg) continue;
            bool portrait = std::string(shot.attribute("orientation").value()) != "landscape";
            PngSize size = SizeOf(file);
            EXPECT_EQ(size.width, portrait ? 240 : 320) << file;
            EXPECT_EQ(size.height, portrait ? 320 : 240) << file;
        }
    }
}

}  // namespace
}  // namespace zentri::server::assets
