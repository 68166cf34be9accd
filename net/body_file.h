#pragma once
// The target file of a file transfer: created when the body starts, written as the body
// arrives, and deleted again when the transfer fails. The target is a file of the emulated
// device; it is reached from the device root through folder descriptors without following any
// link, and a file already at its name is replaced rather than written through (it may be a
// link, or a hard link, to a file outside the device).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/device_folder.h"

namespace zentri {

class BodyFile {
  public:
    BodyFile() = default;
    ~BodyFile();
    BodyFile(const BodyFile&) = delete;
    BodyFile& operator=(const BodyFile&) = delete;

    // `hostPath` is a file of the device root (platform::HostPath); false for anything else.
    bool Open(const std::filesystem::path& hostPath);
    // Writes all of `data`; false on any error (disk full, ...).
    bool Write(const void* data, size_t size);
    bool Close();
    // Closes the file and deletes it, if this object created it and it is still there.
    void Discard();
    bool IsOpen() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
    platform::UniqueFd folder_;
    std::string name_;
    std::optional<platform::FileId> created_;
};

}  // namespace zentri
