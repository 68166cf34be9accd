#pragma once
// The target file of a file transfer: created (or truncated) when the body starts, written as
// the body arrives, and deleted again when the transfer fails.

#include <cstddef>
#include <filesystem>

namespace zentri {

class BodyFile {
  public:
    BodyFile() = default;
    ~BodyFile();
    BodyFile(const BodyFile&) = delete;
    BodyFile& operator=(const BodyFile&) = delete;

    bool Open(const std::filesystem::path& hostPath);
    // Writes all of `data`; false on any error (disk full, ...).
    bool Write(const void* data, size_t size);
    bool Close();
    // Closes the file and deletes it, if this object created it.
    void Discard();
    bool IsOpen() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
    bool created_ = false;
    std::filesystem::path path_;
};

}  // namespace zentri
