#include "platform/config_manager.h"

#include <sstream>
#include <vector>

#include <pugixml.hpp>

#include "platform/debug.h"
#include "platform/install_journal.h"
#include "platform/install_lock.h"
#include "platform/install_record.h"
#include "platform/package_removal.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace platform {
namespace {

std::string Save(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

int Fail(pugi::xml_document& doc, pugi::xml_node failed, int status, std::string* result,
         const std::string& why) {
    DebugPrintf("configuration manager: %s\n", why.c_str());
    if (failed) failed.set_name("characteristic-error");
    if (result) *result = Save(doc);
    return status;
}

bool IsCharacteristic(pugi::xml_node node) {
    return node.type() == pugi::node_element && std::string_view(node.name()) == "characteristic";
}

// The element children other than comments and processing instructions.
std::vector<pugi::xml_node> Elements(pugi::xml_node parent) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node n : parent.children())
        if (n.type() == pugi::node_element) out.push_back(n);
    return out;
}

// The names of an "UnInstall" characteristic; false (with `bad` the offending node) when a
// child is not a package characteristic holding exactly the parm uninstall = 1.
bool UninstallNames(pugi::xml_node uninstall, std::vector<pugi::xml_node>& apps,
                    pugi::xml_node& bad) {
    for (pugi::xml_node app : Elements(uninstall)) {
        bad = app;
        if (!IsCharacteristic(app)) return false;
        std::vector<pugi::xml_node> parms = Elements(app);
        if (parms.size() != 1 || std::string_view(parms[0].name()) != "parm" ||
            !EqualsNoCase(parms[0].attribute("name").value(), "uninstall") ||
            std::string_view(parms[0].attribute("value").value()) != "1")
            return false;
        apps.push_back(app);
    }
    bad = uninstall;
    return !apps.empty();
}

}  // namespace

int ProcessConfiguration(const std::string& document, std::string* result) {
    if (result) result->clear();
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer(document.data(), document.size(), pugi::parse_default, pugi::encoding_utf8);
    pugi::xml_node root = doc.document_element();
    if (!parsed || std::string_view(root.name()) != "wap-provisioningdoc") {
        DebugPrintf("configuration manager: not a provisioning document (%s)\n",
                    parsed ? "wrong root" : parsed.description());
        return kConfigMalformed;
    }

    std::vector<pugi::xml_node> apps;
    std::vector<pugi::xml_node> top = Elements(root);
    if (top.empty()) return Fail(doc, root, kConfigUnknownCharacteristic, result, "empty document");
    for (pugi::xml_node c : top) {
        if (!IsCharacteristic(c) || !EqualsNoCase(c.attribute("type").value(), "UnInstall"))
            return Fail(doc, c, kConfigUnknownCharacteristic, result,
                        std::string("unknown characteristic ") + c.attribute("type").value());
        pugi::xml_node bad;
        if (!UninstallNames(c, apps, bad))
            return Fail(doc, bad, kConfigUnknownCharacteristic, result,
                        "an UnInstall characteristic it does not understand");
    }

    InstallLock lock;
    // An installation that was killed is finished or undone before anything is removed.
    if (std::string error; !RecoverInterruptedInstall(error))
        return Fail(doc, pugi::xml_node(), kConfigFailed, result, error);
    for (pugi::xml_node app : apps) {
        RegKey key;
        std::string name = app.attribute("type").value();
        RegResult found =
            IsValidAppName(name) ? RegKey::Open(InstallKeyPath(name), key) : RegResult::NotFound;
        if (found == RegResult::Failed)
            return Fail(doc, app, kConfigRegistryFailed, result,
                        "the registry cannot be read: " + RegistryError());
        if (found != RegResult::Ok)
            return Fail(doc, app, kConfigNotInstalled, result, "\"" + name + "\" is not installed");
    }
    for (pugi::xml_node app : apps) {
        std::string error;
        switch (RemoveInstalledPackage(app.attribute("type").value(), true, error)) {
            case RemovalResult::Removed:
                break;
            case RemovalResult::NotInstalled:
                return Fail(doc, app, kConfigNotInstalled, result, error);
            case RemovalResult::Cancelled:
                return Fail(doc, app, kConfigCancelled, result, error);
            case RemovalResult::Failed:
                return Fail(doc, app, kConfigFailed, result, error);
            case RemovalResult::Unreadable:
                return Fail(doc, app, kConfigRegistryFailed, result, error);
        }
    }
    if (result) *result = Save(doc);
    return kConfigOk;
}

}  // namespace platform
