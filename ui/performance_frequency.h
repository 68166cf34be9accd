#pragma once
// The high-resolution clock of kinetic scrolling and dragging: a counter with its frequency,
// kept as a running number of seconds. The counter source is injectable, so tests and the
// headless loop step time themselves.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "ui/singleton.h"

namespace zentri {

class CounterSource {
  public:
    virtual ~CounterSource() = default;
    virtual uint64_t Frequency() const = 0;  // counts per second
    virtual uint64_t Counter() const = 0;
};

// The system's monotonic clock in nanoseconds.
class MonotonicCounter : public CounterSource {
  public:
    uint64_t Frequency() const override { return 1000000000u; }
    uint64_t Counter() const override;
};

// A counter that moves only when told to (virtual time).
class ManualCounter : public CounterSource {
  public:
    explicit ManualCounter(uint64_t frequency = 1000000u, uint64_t start = 0)
        : frequency_(frequency), counter_(start) {}
    uint64_t Frequency() const override { return frequency_; }
    uint64_t Counter() const override { return counter_.load(); }
    void Set(uint64_t value) { counter_.store(value); }
    void Advance(uint64_t counts) { counter_.fetch_add(counts); }
    void AdvanceMs(uint64_t ms) { Advance(ms * frequency_ / 1000u); }

  private:
    uint64_t frequency_;
    std::atomic<uint64_t> counter_;
};

class PerformanceFrequency : public Singleton<PerformanceFrequency> {
  public:
    // Readings that fall back by more than this are a wrap of the 32-bit shifted counter.
    static constexpr uint32_t kWrapThreshold = 268435455u;
    // After this many consecutive readings of a clock that did not move, it is pushed on.
    static constexpr int kStallLimit = 100000;

    explicit PerformanceFrequency(std::shared_ptr<CounterSource> source = nullptr);

    // Replaces the counter (null: the monotonic clock). The clock keeps its value; the next
    // reading becomes the new base.
    void SetSource(std::shared_ptr<CounterSource> source);
    // The running clock in seconds.
    double Seconds();
    // Milliseconds of the counter (the tick count of touches).
    uint32_t TickCount();
    int Shift() const { return shift; }
    double SecondsPerTick() const { return secondsPerTick; }

  private:
    void Calibrate();

    std::mutex mutex_;  // the clock may be read from a completion handler's thread
    std::shared_ptr<CounterSource> source_;
    int shift = 0;
    double secondsPerTick = 0;
    double seconds = 0;
    double previousSeconds = 0;
    uint32_t lastReading = 0;
    bool started = false;
    int stallCount = 0;
};

}  // namespace zentri
