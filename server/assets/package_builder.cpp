#include "server/assets/package_builder.h"

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include <pugixml.hpp>

#include "server/assets/run_program.h"
#include "server/read_file.h"

namespace zentri::server::assets {

namespace {

bool WriteFile(const std::filesystem::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

// "program.sh" -> "PROGRA~1.001": up to six letters or digits of the name, then the number.
std::string ShortName(const std::string& name, int number) {
    std::string stem;
    for (char c : name.substr(0, name.rfind('.'))) {
        if (std::isalnum(static_cast<unsigned char>(c)) && stem.size() < 6)
            stem += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (stem.empty()) stem = "FILE";
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%03d", number);
    return stem + "~1." + suffix;
}

// The parms that name a file of the package: Extract sources and the setup library.
std::vector<pugi::xml_attribute> SourceReferences(pugi::xml_document& doc) {
    std::vector<pugi::xml_attribute> refs;
    for (pugi::xpath_node n :
         doc.select_nodes("//characteristic[@type='Extract']/parm[@name='Source']/@value | "
                          "//characteristic[@type='Install']/parm[@name='SetupDLL']/@value"))
        refs.push_back(n.attribute());
    return refs;
}

}  // namespace

std::string Substitute(const std::string& text, const std::map<std::string, std::string>& values,
                       std::string& unknown) {
    std::string out;
    size_t at = 0;
    while (true) {
        size_t open = text.find('@', at);
        size_t close = open == std::string::npos ? open : text.find('@', open + 1);
        if (close == std::string::npos) break;
        std::string key = text.substr(open + 1, close - open - 1);
        bool isKey = !key.empty() &&
                     key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_") == std::string::npos;
        if (!isKey) {  // a lone "@" (a mail address, say) stays as it is
            out += text.substr(at, open + 1 - at);
            at = open + 1;
            continue;
        }
        auto it = values.find(key);
        if (it == values.end()) unknown = key;
        out += text.substr(at, open - at);
        out += it == values.end() ? "" : it->second;
        at = close + 1;
    }
    return out + text.substr(at);
}

std::string XmlEscaped(const std::string& text) {
    std::string e;
    for (char c : text) {
        if (c == '&')
            e += "&amp;";
        else if (c == '<')
            e += "&lt;";
        else if (c == '>')
            e += "&gt;";
        else if (c == '"')
            e += "&quot;";
        else
            e += c;
    }
    return e;
}

std::string BuildPackage(const PackageJob& job) {
    std::string setup, unknown;
    if (!ReadFile(job.source / "_setup.xml", setup))
        return "no _setup.xml in " + job.source.string();
    // Values go into the document as XML text.
    std::map<std::string, std::string> escaped;
    for (const auto& [key, value] : job.values)
        escaped[key] = XmlEscaped(value);
    setup = Substitute(setup, escaped, unknown);
    if (!unknown.empty()) return "unknown placeholder @" + unknown + "@ in _setup.xml";
    pugi::xml_document doc;
    if (!doc.load_string(setup.c_str())) return "_setup.xml is not well-formed";

    // Short stored names for the referenced files, in order of first reference.
    std::map<std::string, std::string> stored;
    for (pugi::xml_attribute ref : SourceReferences(doc)) {
        std::string name = ref.value();
        if (name.empty() || name.find('/') != std::string::npos ||
            name.find("..") != std::string::npos)
            return "bad source name \"" + name + "\"";
        if (!stored.count(name)) {
            int number = static_cast<int>(stored.size()) + 1;
            stored[name] = ShortName(name, number);
        }
        ref.set_value(stored[name].c_str());
    }
    // Every file of the source folder must be used, so that a typo cannot go unnoticed.
    for (const auto& entry : std::filesystem::directory_iterator(job.source)) {
        std::string name = entry.path().filename().string();
        if (name != "_setup.xml" && !stored.count(name))
            return name + " is not extracted by _setup.xml";
    }

    std::filesystem::create_directories(job.staging);
    std::vector<std::string> args = {job.gcab, "--create", "--nopath", "--zip", job.cab.string()};
    std::ostringstream written;
    doc.save(written, "  ", pugi::format_default | pugi::format_no_declaration);
    if (!WriteFile(job.staging / "_setup.xml", written.str()))
        return "cannot write the staging folder";
    args.push_back((job.staging / "_setup.xml").string());
    for (const auto& [name, shortName] : stored) {
        std::string content;
        if (!ReadFile(job.source / name, content)) return "missing source file " + name;
        if (content.find('\0') == std::string::npos) {  // text: fill in the placeholders
            content = Substitute(content, job.values, unknown);
            if (!unknown.empty()) return "unknown placeholder @" + unknown + "@ in " + name;
        }
        if (!WriteFile(job.staging / shortName, content)) return "cannot write the staging folder";
        args.push_back((job.staging / shortName).string());
    }
    std::filesystem::remove(job.cab);
    if (RunProgram(args) != 0) return "gcab failed for " + job.cab.string();
    return "";
}

}  // namespace zentri::server::assets
