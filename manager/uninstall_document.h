#pragma once
// The provisioning document that asks the configuration manager to remove one application:
// one line, the elements separated by two tabs, the install key name XML-escaped so that no
// name can change the document's structure.

#include <string>
#include <string_view>

namespace zentri {

// & < > " ' as the five predefined entities; everything else unchanged.
std::u16string XmlEscape(std::u16string_view text);

std::u16string UninstallDocument(std::u16string_view sysid);

}  // namespace zentri
