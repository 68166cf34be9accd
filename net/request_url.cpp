#include "net/request_url.h"

#include "app/localization.h"
#include "platform/text.h"

namespace zentri {
namespace {

constexpr int32_t kBaseAddress = 99999;

std::string ReplaceAll8(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

std::u16string EncodeText(std::u16string_view value) {
    std::string utf8 = platform::Utf16ToUtf8(value);
    utf8 = ReplaceAll8(std::move(utf8), "+", "%2B");
    utf8 = ReplaceAll8(std::move(utf8), "/", "%2F");
    return platform::Utf8ToUtf16(utf8);
}

RequestUrl::RequestUrl(std::u16string_view name) {
    text_ = Localization::Instance().Get(kBaseAddress);
    text_ += name;
    text_ += u".php?";
}

void RequestUrl::Append(std::u16string_view key, std::u16string_view written) {
    if (!first_) text_ += u'&';
    first_ = false;
    text_ += key;
    text_ += u'=';
    text_ += written;
}

RequestUrl& RequestUrl::Add(std::u16string_view key, std::u16string_view value, bool encode) {
    Append(key, encode ? EncodeText(value) : std::u16string(value));
    return *this;
}

RequestUrl& RequestUrl::AddInt(std::u16string_view key, int32_t value) {
    Append(key, platform::IntToText(value));
    return *this;
}

RequestUrl& RequestUrl::AddFlag(std::u16string_view key, bool value) {
    Append(key, value ? u"1" : u"0");
    return *this;
}

RequestUrl& RequestUrl::AddLiteral(std::u16string_view key, std::u16string_view fixed) {
    Append(key, fixed);
    return *this;
}

std::u16string RequestUrl::Finish() const {
    return platform::ReplaceAll(text_, u" ", u"%20");
}

}  // namespace zentri
