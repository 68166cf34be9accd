// The interface images as the build renders them: every name the interface uses exists in
// every dpi set, with alpha, at its source size scaled to the set's dpi; the copy step gives a
// device the set that fits it; and a name without an image draws nothing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "tests/support/temp_device.h"
#include "ui/image_pool.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = ZENTRI_SOURCE_DIR "/resources/images";
const fs::path kSets = ZENTRI_IMAGES_DIR;
const int kDpis[] = {96, 128, 192};

// Every image the interface loads by name.
const char* const kInterfaceImages[] = {"app_bar",
                                        "btn",
                                        "btn_sel",
                                        "edit",
                                        "ls",
                                        "ls_sel",
                                        "check",
                                        "dialog",
                                        "bubble",
                                        "progress",
                                        "more_arrow",
                                        "deficon",
                                        "icon",
                                        "icon_home",
                                        "icon_top",
                                        "icon_cats",
                                        "icon_search",
                                        "icon_myapps",
                                        "icon_settings",
                                        "icon_showall",
                                        "icon_search_cat",
                                        "icon_search_tag",
                                        "icon_search_keyword",
                                        "icon_settings_lang",
                                        "icon_settings_keypad",
                                        "icon_settings_cam3g",
                                        "icon_settings_auto",
                                        "icon_settings_os",
                                        "icon_settings_screen",
                                        "icon_settings_phone",
                                        "icon_settings_irda",
                                        "icon_settings_bt",
                                        "icon_settings_wifi",
                                        "icon_settings_3d",
                                        "icon_settings_camera",
                                        "icon_settings_accel",
                                        "icon_settings_gps",
                                        "load0",
                                        "load1",
                                        "load2",
                                        "load3",
                                        "load4",
                                        "load5",
                                        "load6",
                                        "load7",
                                        "rate_star",
                                        "rate_halfstar",
                                        "rate_blankstar",
                                        "switch_bg_on",
                                        "switch_bg_off",
                                        "switch_toggler",
                                        "sort_left_sel",
                                        "sort_left_usel",
                                        "sort_mid_sel",
                                        "sort_mid_usel",
                                        "sort_right_sel",
                                        "sort_right_usel"};

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The SVG's own width and height: its size at 96 dpi.
std::pair<int, int> SourceSize(const std::string& name) {
    std::smatch m;
    std::string svg = Read(kSources / (name + ".svg"));
    if (!std::regex_search(svg, m, std::regex("<svg[^>]* width=\"(\\d+)\"[^>]* height=\"(\\d+)\"")))
        return {0, 0};
    return {std::stoi(m[1]), std::stoi(m[2])};
}

// Images that cover their whole rectangle: the renderer writes them without an alpha channel,
// so they load without an alpha plane and are copied instead of blended. Every other image
// must keep its transparency.
const std::set<std::string> kOpaque = {"app_bar", "ls", "ls_sel", "sort_mid_sel", "sort_mid_usel"};

int AtDpi(int base, int dpi) {
    return (base * dpi + 48) / 96;
}

struct PngHeader {
    int width = 0, height = 0, colourType = -1;
};

PngHeader Header(const fs::path& file) {
    std::string bytes = Read(file);
    PngHeader h;
    if (bytes.size() < 26 || bytes.compare(1, 3, "PNG") != 0) return h;
    auto u32 = [&](size_t at) {
        return (static_cast<uint8_t>(bytes[at]) << 24) |
               (static_cast<uint8_t>(bytes[at + 1]) << 16) |
               (static_cast<uint8_t>(bytes[at + 2]) << 8) | static_cast<uint8_t>(bytes[at + 3]);
    };
    h.width = static_cast<int>(u32(16));
    h.height = static_cast<int>(u32(20));
    h.colourType = static_cast<uint8_t>(bytes[25]);
    return h;
}

TEST(InterfaceImages, EverySetHasEveryImageWithItsAlphaAtItsSize) {
    for (const char* name : kInterfaceImages) {
        auto [w, h] = SourceSize(name);
        ASSERT_GT(w, 0) << name << ".svg is missing or has no whole-pixel size";
        for (int dpi : kDpis) {
            PngHeader png = Header(kSets / std::to_string(dpi) / (std::string(name) + ".png"));
            EXPECT_EQ(png.colourType, kOpaque.count(name) ? 2 : 6)
                << name << " at " << dpi << " dpi: " << (kOpaque.count(name) ? "RGB" : "RGBA")
                << " expected";
            EXPECT_EQ(png.width, AtDpi(w, dpi)) << name << " at " << dpi << " dpi";
            EXPECT_EQ(png.height, AtDpi(h, dpi)) << name << " at " << dpi << " dpi";
        }
    }
}

TEST(InterfaceImages, EveryImageNamedInTheProgramHasASource) {
    // A name typed in code without a picture behind it would draw nothing on the handset.
    std::set<std::string> missing;
    std::regex literal("\"([A-Za-z0-9_]+)\\.png\"");
    for (const char* module : {"app", "widgets", "scenes", "ui"}) {
        fs::path folder = fs::path(ZENTRI_SOURCE_DIR) / module;
        if (!fs::exists(folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            std::string ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            std::string code = Read(entry.path());
            for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it)
                if (!fs::exists(kSources / ((*it)[1].str() + ".svg"))) missing.insert((*it)[1]);
        }
    }
    EXPECT_TRUE(missing.empty()) << "no SVG for " << *missing.begin() << ".png";
}

// The copy step puts the set closest to the device's dpi into the program folder, where the
// image pool finds it; a name that is not there draws nothing.
TEST(InterfaceImages, CopiedSetFeedsTheImagePoolAndAMissingImageDrawsNothing) {
    test::TempDevice device;
    fs::path folder = device.Root() / "Program Files" / "Zentri";
    std::string command = std::string("\"") + ZENTRI_CMAKE_COMMAND + "\" -DDPI=120 -DIMAGES=\"" +
                          kSets.string() + "\" -DDEST=\"" + folder.string() + "\" -P \"" +
                          (kSources / "copy_image_set.cmake").string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    ImagePool& pool = ImagePool::Instance();
    pool.SetFolder(u"\\Program Files\\Zentri\\");
    shared_ptr<Surface> star = pool.Get(u"rate_star.png", 1);
    ASSERT_TRUE(star->HasPixels());
    EXPECT_TRUE(star->HasAlpha());
    auto [w, h] = SourceSize("rate_star");
    EXPECT_EQ(star->width, AtDpi(w, 128)) << "120 dpi takes the 128-dpi set";
    EXPECT_EQ(star->height, AtDpi(h, 128));
    EXPECT_EQ(star->alpha[0], 0) << "the corner around the star is transparent";

    auto screen = MakeShared<WMSurface>();
    screen->Create(40, 40, false);
    screen->FillRect(0, 0, 40, 40, Color{10, 200, 30}, 255);
    std::vector<uint16_t> before = screen->pixels;
    shared_ptr<Surface> none = pool.Get(u"no_such_image.png", 1);
    EXPECT_FALSE(none->HasPixels());
    screen->BlitAlpha(0, 0, 40, 40, *none, 255);
    EXPECT_EQ(screen->pixels, before);
    EXPECT_EQ(pool.Get(u"no_such_image.png", 1), none) << "the miss is cached";
}

}  // namespace
}  // namespace zentri
