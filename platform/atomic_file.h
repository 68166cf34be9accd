#pragma once
// Files that hold user data are never left half-written: the content goes to a temporary file
// beside the target, is flushed to disk, and is then renamed over the target in one step.

#include <filesystem>
#include <string_view>

namespace platform {

// Writes `content` to `hostPath` atomically with the given permissions (e.g. 0600 for files
// only the owner may read). Creates missing parent folders. Returns false on any failure, in
// which case the previous file, if any, is untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& hostPath, std::string_view content,
                         unsigned mode = 0644);

}  // namespace platform
