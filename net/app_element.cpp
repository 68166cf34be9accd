#include "net/app_element.h"

#include <pugixml.hpp>

#include "manager/app.h"
#include "net/xml_fields.h"

namespace zentri {

bool ReadAppElement(const pugi::xml_node& e, App& app) {
    using namespace xml;
    // Every read runs, so that all present attributes are stored.
    bool ok = true;
    ok &= ReadInt(e, "id", app.id);
    ok &= ReadText(e, "name", app.name);
    ok &= ReadText(e, "com", app.com);
    ok &= ReadText(e, "icon", app.icon);
    ok &= ReadText(e, "type", app.type);
    ok &= ReadInt(e, "catid", app.catid);
    ok &= ReadDouble(e, "rate", app.rate);
    ok &= ReadInt(e, "rates", app.rates);
    ok &= ReadInt(e, "reviews", app.reviews);
    ok &= ReadInt(e, "views", app.views);
    ok &= ReadInt(e, "downloads", app.downloads);
    ok &= ReadText(e, "version", app.version);
    ok &= ReadInt(e, "revision", app.revision);
    ok &= ReadText(e, "sysid", app.sysid);
    ok &= ReadText(e, "exe", app.exe);
    ok &= ReadText(e, "install", app.install);
    ReadUInt(e, "createtime", app.createtime);
    return ok;
}

}  // namespace zentri
