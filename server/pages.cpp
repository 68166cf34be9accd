#include "server/pages.h"

namespace zentri::server {

namespace {

std::string Page(std::string_view title, std::string_view body) {
    std::string html = R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width">
<title>)";
    html += EscapeHtml(title);
    html += R"(</title>
<style>
body { font-family: sans-serif; max-width: 40em; margin: 1em auto; padding: 0 1em; color: #222; }
h1 { color: #2a5a8a; font-size: 1.5em; }
code { background: #eee; padding: 0 .2em; }
input { font-size: 1em; margin: .3em 0; }
</style></head><body>
<h1>)";
    html += EscapeHtml(title);
    html += "</h1>\n";
    html += body;
    html += "\n</body></html>\n";
    return html;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string AboutPage() {
    return Page("Zentri catalogue", R"(
<p>Zentri finds, installs and updates applications for Windows Mobile 5, 6 and 6.5 handsets.
This is the demo catalogue that comes with it: some sixty applications from a handful of
companies, in categories, with tags, screenshots, reviews and installable packages.</p>
<p>The catalogue shows each handset only what suits it: the platform, the screen and the
features (phone, GPS, camera, 3D graphics, keypad and more) that Zentri reports, or that you
choose in its settings.</p>
<p><a href="help">Help and feedback</a></p>)");
}

std::string HelpPage() {
    return Page("Help", R"(
<h2>Signing in</h2>
<p>Register in Zentri with a user name, your mail address and a password. We send you a mail
with a link; open it to activate the account, then sign in. The demo catalogue has a ready
account: user name <code>demo</code>, password <code>demo1234</code>.</p>
<h2>Forgot your password?</h2>
<p>Use "Forgot password?" on the sign-in screen with your user name or mail address. The mail we
send has a link to a page where you choose a new password.</p>
<h2>Nothing shows in a category?</h2>
<p>Applications that need something your handset lacks (another platform, another screen size,
a phone, GPS, a camera...) are not offered. Check the device settings in Zentri.</p>
<h2>Feedback</h2>
<p>Ideas and bug reports are welcome: tell whoever runs this catalogue.</p>)");
}

std::string ActivationPage(bool activated) {
    if (activated)
        return Page("Account activated",
                    "<p>Your account is active. Go back to Zentri and sign in.</p>");
    return Page("Link not valid",
                "<p>This activation link is unknown or has expired. Sign in with Zentri to "
                "have a new one sent.</p>");
}

std::string ResetFormPage(std::string_view token, std::string_view problem) {
    std::string body;
    if (!problem.empty()) body += "<p><strong>" + EscapeHtml(problem) + "</strong></p>\n";
    body += R"(<form method="post" action="reset">
<input type="hidden" name="token" value=")" +
            EscapeHtml(token) + R"(">
<p><label>New password (6 characters or more, without %, &amp; or #):<br>
<input type="password" name="password" minlength="6" required></label></p>
<p><label>Repeat it:<br><input type="password" name="repeat" minlength="6" required></label></p>
<p><input type="submit" value="Set password"></p>
</form>)";
    return Page("Choose a new password", body);
}

std::string ResetDonePage() {
    return Page("Password changed", "<p>Your new password is set. Sign in with it in Zentri.</p>");
}

std::string ResetLinkInvalidPage() {
    return Page("Link not valid",
                "<p>This password link is unknown, used or has expired. Ask Zentri for a new "
                "one with \"Forgot password?\" on the sign-in screen.</p>");
}

std::string NotFoundPage() {
    return Page("Not found", "<p>There is nothing at this address.</p>");
}

}  // namespace zentri::server
