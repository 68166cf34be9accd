#pragma once
// One installation or removal at a time on the device: the installer holds this lock for its
// whole run and the configuration manager while it removes a package, so that the two never
// interleave their changes to the same files and records. It is an advisory lock on the
// device root folder (no file is created), held across processes and threads alike and freed
// when its holder ends, even by a crash.

namespace platform {

class InstallLock {
  public:
    // Waits until the lock is free. Held() is false only when the device root cannot be
    // opened; the caller then goes on without it.
    InstallLock();
    ~InstallLock();
    InstallLock(const InstallLock&) = delete;
    InstallLock& operator=(const InstallLock&) = delete;

    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace platform
