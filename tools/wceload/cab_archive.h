#pragma once
// A package's cabinet archive, read with libmspack: the stored files by name, extracted one by
// one to host files. Cabinets that continue in other cabinets (sets) are not packages.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct mscab_decompressor;
struct mscabd_cabinet;
struct mscabd_file;

namespace wceload {

class CabArchive {
  public:
    struct Entry {
        std::string name;  // UTF-8
        uint64_t length = 0;
    };

    // Null (with `error`) when the file cannot be read or is not a single cabinet.
    static std::unique_ptr<CabArchive> Open(const std::filesystem::path& hostPath,
                                            std::string& error);
    ~CabArchive();
    CabArchive(const CabArchive&) = delete;
    CabArchive& operator=(const CabArchive&) = delete;

    const std::vector<Entry>& Entries() const { return entries_; }

    // The index of the stored file: an exact match, else the one match ignoring case.
    // -1 when there is none, -2 when several stored files answer to the name.
    int Find(std::string_view name) const;

    // Writes the stored file to the host path; false (with `error`) when its data is damaged.
    bool Extract(int index, const std::filesystem::path& hostPath, std::string& error) const;

  private:
    CabArchive() = default;

    mscab_decompressor* decompressor_ = nullptr;
    mscabd_cabinet* cabinet_ = nullptr;
    std::vector<mscabd_file*> files_;
    std::vector<Entry> entries_;
    // Entry indexes by name and by folded name, so that a package of n files is not n searches
    // through n names.
    std::unordered_multimap<std::string, int> exact_, folded_;
};

}  // namespace wceload
