#include "tools/wceload/cab_archive.h"

#include <mspack.h>

#include <fstream>
#include <iterator>

#include "platform/text.h"

namespace wceload {
namespace {

std::string ErrorText(int code) {
    switch (code) {
        case MSPACK_ERR_OPEN:
            return "it cannot be opened";
        case MSPACK_ERR_READ:
        case MSPACK_ERR_SEEK:
            return "it cannot be read (or is cut short)";
        case MSPACK_ERR_SIGNATURE:
            return "it is not a CAB archive";
        case MSPACK_ERR_DATAFORMAT:
            return "its data is damaged";
        case MSPACK_ERR_CHECKSUM:
            return "its data fails the checksum";
        case MSPACK_ERR_DECRUNCH:
            return "its data cannot be decompressed";
        case MSPACK_ERR_WRITE:
            return "the extracted data cannot be written";
        case MSPACK_ERR_NOMEMORY:
            return "there is not enough memory";
        default:
            return "error " + std::to_string(code);
    }
}

// Stored names are UTF-8 when the archive says so, else ISO-8859-1.
std::string NameOf(const mscabd_file* file) {
    std::string raw = file->filename ? file->filename : "";
    if (file->attribs & MSCAB_ATTRIB_UTF_NAME) return raw;
    std::u16string wide;
    for (unsigned char c : raw)
        wide += static_cast<char16_t>(c);
    return platform::Utf16ToUtf8(wide);
}

}  // namespace

std::unique_ptr<CabArchive> CabArchive::Open(const std::filesystem::path& hostPath,
                                             std::string& error) {
    // The signature first, so that any other file is called what it is.
    char signature[4] = {};
    std::ifstream(hostPath, std::ios::binary).read(signature, sizeof signature);
    if (std::string_view(signature, 4) != "MSCF") {
        error = "the package cannot be used: it is not a CAB archive";
        return nullptr;
    }
    std::unique_ptr<CabArchive> cab(new CabArchive);
    cab->decompressor_ = mspack_create_cab_decompressor(nullptr);
    if (!cab->decompressor_) {
        error = "the CAB reader cannot be created";
        return nullptr;
    }
    mscab_decompressor* d = cab->decompressor_;
    cab->cabinet_ = d->open(d, hostPath.c_str());
    if (!cab->cabinet_) {
        error = "the package cannot be used: " + ErrorText(d->last_error(d));
        return nullptr;
    }
    if (cab->cabinet_->flags & (MSCAB_HDR_PREVCAB | MSCAB_HDR_NEXTCAB)) {
        error = "the package is part of a set of cabinets";
        return nullptr;
    }
    for (mscabd_file* f = cab->cabinet_->files; f; f = f->next) {
        int index = static_cast<int>(cab->entries_.size());
        cab->files_.push_back(f);
        cab->entries_.push_back({NameOf(f), f->length});
        cab->exact_.emplace(cab->entries_.back().name, index);
        cab->folded_.emplace(platform::FoldCase(cab->entries_.back().name), index);
    }
    return cab;
}

CabArchive::~CabArchive() {
    if (cabinet_) decompressor_->close(decompressor_, cabinet_);
    if (decompressor_) mspack_destroy_cab_decompressor(decompressor_);
}

int CabArchive::Find(std::string_view name) const {
    // The one index, -1 or -2 for the names that match in the map.
    auto answer = [](const auto& map, const std::string& key) {
        auto [first, last] = map.equal_range(key);
        if (first == last) return -1;
        return std::next(first) == last ? first->second : -2;
    };
    int found = answer(exact_, std::string(name));
    return found != -1 ? found : answer(folded_, platform::FoldCase(name));
}

bool CabArchive::Extract(int index, const std::filesystem::path& hostPath,
                         std::string& error) const {
    const std::string& name = entries_[static_cast<size_t>(index)].name;
    int rc =
        decompressor_->extract(decompressor_, files_[static_cast<size_t>(index)], hostPath.c_str());
    if (rc != MSPACK_ERR_OK) {
        error = "the stored file " + name + " cannot be extracted: " + ErrorText(rc);
        return false;
    }
    std::error_code ec;
    if (std::filesystem::file_size(hostPath, ec) != entries_[static_cast<size_t>(index)].length) {
        error = "the stored file " + name + " came out at the wrong size";
        return false;
    }
    return true;
}

}  // namespace wceload
