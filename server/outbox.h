#pragma once
// Mail that the service sends (activation links, password resets) is written as one file per
// message into the data folder's "outbox", for whoever runs the service to deliver or read.

#include <filesystem>
#include <mutex>
#include <string>

namespace zentri::server {

struct Mail {
    std::string to;
    std::string subject;
    std::string body;
};

class Outbox {
  public:
    explicit Outbox(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Writes the message as "<time>-<sequence>-<kind>.eml" (written whole, then renamed into
    // place); returns the file's path, or an empty path when it could not be written.
    std::filesystem::path Send(const Mail& mail, const std::string& kind, int64_t now);

    const std::filesystem::path& Folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    std::mutex mutex_;
    unsigned sequence_ = 0;
};

}  // namespace zentri::server
