#pragma once
// The service's notion of "now", in whole seconds since 1970. Session expiry and token
// lifetimes read it through this interface so that tests can move time without waiting.

#include <atomic>
#include <chrono>
#include <cstdint>

namespace zentri::server {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual int64_t Now() const = 0;
};

class SystemClock : public Clock {
  public:
    int64_t Now() const override {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

// A clock that moves only when told to.
class ManualClock : public Clock {
  public:
    explicit ManualClock(int64_t start = 1'300'000'000) : now_(start) {}
    int64_t Now() const override { return now_.load(); }
    void Advance(int64_t seconds) { now_ += seconds; }

  private:
    std::atomic<int64_t> now_;
};

}  // namespace zentri::server
