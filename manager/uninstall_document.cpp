#include "manager/uninstall_document.h"

namespace zentri {

std::u16string XmlEscape(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'&':
                out += u"&amp;";
                break;
            case u'<':
                out += u"&lt;";
                break;
            case u'>':
                out += u"&gt;";
                break;
            case u'"':
                out += u"&quot;";
                break;
            case u'\'':
                out += u"&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::u16string UninstallDocument(std::u16string_view sysid) {
    return u"<wap-provisioningdoc>\t\t<characteristic type=\"UnInstall\">\t\t"
           u"<characteristic type=\"" +
           XmlEscape(sysid) +
           u"\">\t\t<parm name=\"uninstall\" value=\"1\" />\t\t</characteristic>\t\t"
           u"</characteristic>\t\t</wap-provisioningdoc>";
}

}  // namespace zentri
