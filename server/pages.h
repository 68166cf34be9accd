#pragma once
// The few HTML pages the service shows to people rather than to the client: about and help
// (linked from the client's About screen), and the pages behind the links of its mails.

#include <string>
#include <string_view>

namespace zentri::server {

std::string AboutPage();
std::string HelpPage();
std::string ActivationPage(bool activated);
// The form for a new password; `token` must already be known to be valid.
std::string ResetFormPage(std::string_view token, std::string_view problem);
std::string ResetDonePage();
std::string ResetLinkInvalidPage();
std::string NotFoundPage();

std::string EscapeHtml(std::string_view text);

}  // namespace zentri::server
