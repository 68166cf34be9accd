// The built packages and the shipped texts: every served CAB is a real cabinet whose
// `_setup.xml` installs under the application's own sysid and extracts exactly the files it
// holds, under their stored short names; older revisions exist for the applications that
// offer an update; and every refusal code has its message in every language.

#include <mspack.h>

#include <map>
#include <set>

#include <pugixml.hpp>

#include "server/package_names.h"
#include "server/result_code.h"
#include "tests/server/service_fixture.h"
#include "tests/support/temp_device.h"

namespace zentri::server::test {
namespace {

struct CabContents {
    bool ok = false;
    std::map<std::string, std::string> files;  // stored name -> content
};

CabContents ReadCab(const std::filesystem::path& cab, const std::filesystem::path& scratch) {
    CabContents contents;
    mscab_decompressor* d = mspack_create_cab_decompressor(nullptr);
    mscabd_cabinet* cabinet = d ? d->open(d, cab.c_str()) : nullptr;
    if (cabinet) {
        contents.ok = true;
        for (mscabd_file* f = cabinet->files; f; f = f->next) {
            std::filesystem::path out = scratch / "extracted";
            if (d->extract(d, f, out.c_str()) != MSPACK_ERR_OK) contents.ok = false;
            std::ifstream in(out, std::ios::binary);
            std::stringstream s;
            s << in.rdbuf();
            contents.files[f->filename] = s.str();
        }
        d->close(d, cabinet);
    }
    if (d) mspack_destroy_cab_decompressor(d);
    return contents;
}

std::string Parm(pugi::xml_node characteristic, const char* name) {
    return characteristic.find_child_by_attribute("parm", "name", name).attribute("value").value();
}

class Packages : public ServiceTest {};

TEST_F(Packages, EachInstallsUnderItsOwnSysidWithItsStoredFiles) {
    pugi::xml_document seed;
    ASSERT_TRUE(seed.load_file((AssetsDir() / "catalogue.xml").c_str()));
    int withUpdate = 0, checked = 0;
    for (pugi::xml_node node : seed.child("catalogue").child("apps").children("app")) {
        auto app = service->Apps().AppById(node.attribute("id").as_int());
        ASSERT_TRUE(app);
        // The client's own package is made by the client's build (and checked by its tests).
        if (app->package.empty() || *node.attribute("prebuilt").value()) continue;
        std::vector<std::pair<int64_t, std::string>> revisions = {{app->revision, app->version}};
        for (pugi::xml_node previous : node.children("previous"))
            revisions.emplace_back(previous.attribute("revision").as_llong(),
                                   previous.attribute("version").value());
        withUpdate += revisions.size() > 1;
        for (const auto& [revision, version] : revisions) {
            std::filesystem::path cab = AssetsDir() / PackagePath(app->sysid, revision);
            CabContents contents = ReadCab(cab, data.Path());
            ASSERT_TRUE(contents.ok) << cab;
            ASSERT_TRUE(contents.files.count("_setup.xml")) << cab;
            pugi::xml_document setup;
            ASSERT_TRUE(setup.load_string(contents.files["_setup.xml"].c_str())) << cab;
            pugi::xml_node doc = setup.child("wap-provisioningdoc");
            pugi::xml_node install =
                doc.find_child_by_attribute("characteristic", "type", "Install");
            EXPECT_EQ(Parm(install, "AppName"), app->sysid);
            std::set<std::string> extracted;
            bool exeFound = false;
            for (pugi::xpath_node x :
                 doc.select_nodes("//characteristic[characteristic[@type='Extract']]")) {
                std::string source = Parm(x.node().child("characteristic"), "Source");
                EXPECT_TRUE(contents.files.count(source)) << cab << " lacks " << source;
                EXPECT_NE(source.find("~1."), std::string::npos) << source;
                extracted.insert(source);
                exeFound = exeFound || x.node().attribute("type").value() == app->exe;
            }
            EXPECT_TRUE(exeFound) << cab;
            EXPECT_EQ(extracted.size() + 1, contents.files.size())
                << cab << " has files nothing extracts";
            EXPECT_TRUE(doc.select_node("//characteristic[@type='Shortcut']")) << cab;
            pugi::xpath_node key =
                doc.select_node("//characteristic[@type='Registry']/characteristic");
            ASSERT_TRUE(key) << cab;
            EXPECT_EQ(Parm(key.node(), "Revision"), std::to_string(revision));
            EXPECT_EQ(Parm(key.node(), "Version"), version);
            ++checked;
        }
    }
    EXPECT_GE(checked, 65);
    EXPECT_GE(withUpdate, 5);
}

TEST(RefusalTexts, EveryCodeHasItsMessageInEveryLanguage) {
    pugi::xml_document doc;
    ASSERT_TRUE(
        doc.load_file((zentri::test::SourceDir() / "resources" / "localization.xml").c_str()));
    pugi::xml_node strings = doc.child("localization").child("strings");
    std::vector<int> codes(std::begin(kRefusalCodes), std::end(kRefusalCodes));
    codes.insert(codes.end(), {kNotActivated, kSessionInvalid});
    for (int code : codes) {
        pugi::xml_node s = strings.find_child_by_attribute("s", "id", std::to_string(code).c_str());
        ASSERT_TRUE(s) << code;
        for (const char* language : {"en", "de", "ru"})
            EXPECT_STRNE(s.child(language).attribute("val").value(), "") << code << " " << language;
    }
}

}  // namespace
}  // namespace zentri::server::test
