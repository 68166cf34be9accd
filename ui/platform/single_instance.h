#pragma once
// One running instance per window name and device: the first start listens on a local socket
// named after the device root and the name; a later start connects to it, which asks the first
// to come to the front, and gives up.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zentri {

class SingleInstance {
  public:
    enum class Result { kFirst, kAlreadyRunning, kUnavailable };

    // kFirst: `out` holds the claim until it is destroyed. kAlreadyRunning: the running
    // instance was asked to come to the front. kUnavailable: no socket could be used (the
    // program then runs without the check).
    static Result Claim(const std::string& name, std::unique_ptr<SingleInstance>& out);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Called on the listener's thread whenever another start asks for the window.
    void SetActivationHandler(std::function<void()> handler);

  private:
    SingleInstance(int listenFd, int wakeFd);
    void Listen();

    int listenFd_;
    int wakeFd_;
    std::mutex mutex_;
    std::function<void()> handler_;
    std::thread thread_;
};

}  // namespace zentri
