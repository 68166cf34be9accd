#include "server/outbox.h"

#include <ctime>

#include "platform/atomic_file.h"

namespace zentri::server {

namespace {

std::string MailDate(int64_t now) {
    time_t t = static_cast<time_t>(now);
    struct tm utc {};
    gmtime_r(&t, &utc);
    char text[64];
    strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S +0000", &utc);
    return text;
}

}  // namespace

std::filesystem::path Outbox::Send(const Mail& mail, const std::string& kind, int64_t now) {
    std::string content = "From: Zentri catalogue <noreply@zentri.invalid>\r\n";
    content += "To: " + mail.to + "\r\n";
    content += "Subject: " + mail.subject + "\r\n";
    content += "Date: " + MailDate(now) + "\r\n";
    content += "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
    content += mail.body;

    std::lock_guard lock(mutex_);
    std::filesystem::path file;
    std::error_code error;
    do {  // never overwrite an earlier message, also one left by a previous run
        file = folder_ /
               (std::to_string(now) + "-" + std::to_string(++sequence_) + "-" + kind + ".eml");
    } while (std::filesystem::exists(file, error));
    if (!platform::WriteFileAtomically(file, content, 0600)) return {};
    return file;
}

}  // namespace zentri::server
