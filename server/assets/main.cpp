// zentri-catalogue-assets: makes the demo catalogue's files at build time from the seed
// catalogue and the package sources: an icon and the screenshots of every application (SVG
// templates filled per application, rendered by rsvg-convert), and a CAB package for every
// application that names a package source (for the current revision and, when the seed names
// one, the previous revision, so that updates can be tried).
//
//   zentri-catalogue-assets --seed catalogue.xml --packages DIR --gcab PROGRAM
//                           --templates DIR --rsvg PROGRAM --out DIR

#include <iostream>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "server/assets/package_builder.h"
#include "server/assets/pictures.h"
#include "server/package_names.h"

using namespace zentri::server;
using namespace zentri::server::assets;
namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path seed, packages, out, templates;
    std::string gcab, rsvg;
};

AppEntry EntryOf(pugi::xml_node app, const std::string& sysid) {
    AppEntry entry;
    entry.sysid = sysid;
    entry.name = app.attribute("name").value();
    entry.company = app.attribute("company").value();
    entry.description = app.child_value("description");
    entry.category = app.attribute("category").as_int();
    entry.colour = app.child("art").attribute("colour").value();
    entry.shape = app.child("art").attribute("shape").value();
    return entry;
}

// Returns an empty text on success, else what went wrong.
std::string MakePictures(pugi::xml_node app, const fs::path& out, const std::string& sysid,
                         const PictureTemplates& templates, const SvgRenderer& renderer) {
    int64_t id = app.attribute("id").as_llong();
    AppEntry entry = EntryOf(app, sysid);
    PictureStyle style = StyleFor(entry);
    std::string error;
    std::string icon = IconSvg(templates, style, error);
    if (icon.empty()) return error;
    if (!renderer.Render(icon, kIconSize, kIconSize, out / IconPath(id)))
        return "cannot render the icon of " + sysid;
    int number = 0;
    for (pugi::xml_node shot : app.children("screenshot")) {
        ++number;
        bool jpeg = std::string(shot.attribute("format").value()) == "jpeg";
        bool portrait = std::string(shot.attribute("orientation").value()) != "landscape";
        std::string svg = ScreenshotSvg(templates, style, entry, number, portrait, error);
        if (svg.empty()) return error;
        fs::path png = out / ShotPath(id, number, false);
        int w = portrait ? kScreenShort : kScreenLong, h = portrait ? kScreenLong : kScreenShort;
        if (!renderer.Render(svg, w, h, png))
            return "cannot render screenshot " + std::to_string(number) + " of " + sysid;
        if (jpeg) {
            if (!PngToJpeg(png, out / ShotPath(id, number, true)))
                return "cannot write screenshot " + std::to_string(number) + " of " + sysid;
            fs::remove(png);
        }
    }
    return "";
}

std::string MakePackages(pugi::xml_node app, const Options& options, const std::string& sysid) {
    std::string source = app.attribute("package").value();
    if (source.empty()) return "";
    PackageJob job;
    job.source = options.packages / source;
    job.gcab = options.gcab;
    job.values = {{"APPNAME", sysid},
                  {"NAME", app.attribute("name").value()},
                  {"COMPANY", app.attribute("company").value()},
                  {"EXE", app.attribute("exe").value()},
                  {"DESCRIPTION", app.child_value("description")}};
    auto build = [&](const std::string& version, const std::string& revision) {
        job.values["VERSION"] = version;
        job.values["REVISION"] = revision;
        job.cab = options.out / PackagePath(sysid, std::stoll(revision));
        job.staging = options.out / "staging" / job.cab.stem();
        std::string error = BuildPackage(job);
        return error.empty() ? "" : sysid + " revision " + revision + ": " + error;
    };
    std::string error = build(app.attribute("version").value(), app.attribute("revision").value());
    for (pugi::xml_node previous : app.children("previous"))
        if (error.empty())
            error = build(previous.attribute("version").value(),
                          previous.attribute("revision").value());
    return error;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key == "--seed")
            options.seed = argv[i + 1];
        else if (key == "--packages")
            options.packages = argv[i + 1];
        else if (key == "--gcab")
            options.gcab = argv[i + 1];
        else if (key == "--out")
            options.out = argv[i + 1];
        else if (key == "--templates")
            options.templates = argv[i + 1];
        else if (key == "--rsvg")
            options.rsvg = argv[i + 1];
    }
    if (options.seed.empty() || options.packages.empty() || options.gcab.empty() ||
        options.out.empty() || options.templates.empty() || options.rsvg.empty()) {
        std::cerr << "usage: zentri-catalogue-assets --seed FILE --packages DIR --gcab PROGRAM "
                     "--templates DIR --rsvg PROGRAM --out DIR\n";
        return 2;
    }
    PictureTemplates templates;
    if (std::string error; !LoadTemplates(options.templates, templates, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    pugi::xml_document doc;
    if (pugi::xml_parse_result parsed = doc.load_file(options.seed.c_str()); !parsed) {
        std::cerr << options.seed << ": " << parsed.description() << "\n";
        return 1;
    }
    // Start from empty folders, so that nothing of an earlier seed lingers.
    for (const char* folder : {"media", "packages", "staging"})
        fs::remove_all(options.out / folder);
    for (const char* folder : {"media/icons", "media/shots", "packages", "staging"})
        fs::create_directories(options.out / folder);
    SvgRenderer renderer(options.rsvg, options.out / "staging");

    for (pugi::xml_node app : doc.child("catalogue").child("apps").children("app")) {
        std::string company = app.attribute("company").value(),
                    name = app.attribute("name").value();
        std::string sysid = app.attribute("sysid").as_string((company + " " + name).c_str());
        if (std::string error = MakePictures(app, options.out, sysid, templates, renderer);
            !error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
        if (std::string error = MakePackages(app, options, sysid); !error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
    }
    fs::remove_all(options.out / "staging");
    fs::copy_file(options.seed, options.out / "catalogue.xml",
                  fs::copy_options::overwrite_existing);
    return 0;
}
