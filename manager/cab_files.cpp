#include "manager/cab_files.h"

#include "platform/text.h"

namespace zentri {
namespace {

std::string Key(const std::u16string& path) {
    return platform::FoldCase(platform::Utf16ToUtf8(path));
}

// "tool.cab", 2 -> "tool (2).cab"; a name without an extension gets the mark at its end.
std::u16string Numbered(const std::u16string& fileName, int n) {
    size_t dot = fileName.rfind(u'.');
    if (dot == 0 || dot == std::u16string::npos) dot = fileName.size();
    return fileName.substr(0, dot) + u" (" + platform::IntToText(n) + u")" + fileName.substr(dot);
}

}  // namespace

std::u16string CabFiles::Reserve(const std::u16string& folder, const std::u16string& fileName,
                                 const Use& use) {
    std::u16string path = folder + u"\\" + fileName;
    for (int n = 2; Taken(path); ++n)
        path = folder + u"\\" + Numbered(fileName, n);
    reserved_.emplace(Key(path), use);
    names_.insert(Key(path));
    names_.insert(Key(PartPath(path)));
    return path;
}

std::optional<CabFiles::Use> CabFiles::Release(const std::u16string& path) {
    auto it = reserved_.find(Key(path));
    if (it == reserved_.end()) return std::nullopt;
    Use use = std::move(it->second);
    reserved_.erase(it);
    names_.erase(Key(path));
    names_.erase(Key(PartPath(path)));
    return use;
}

bool CabFiles::UpdateUnderWay(const std::u16string& sysid) const {
    for (const auto& [path, use] : reserved_)
        if (use.update && use.sysid == sysid) return true;
    return false;
}

void CabFiles::Clear() {
    reserved_.clear();
    names_.clear();
}

bool CabFiles::Taken(const std::u16string& path) const {
    return names_.count(Key(path)) || names_.count(Key(PartPath(path)));
}

}  // namespace zentri
