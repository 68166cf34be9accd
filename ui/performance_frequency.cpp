#include "ui/performance_frequency.h"

#include <chrono>

namespace zentri {

uint64_t MonotonicCounter::Counter() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

PerformanceFrequency::PerformanceFrequency(std::shared_ptr<CounterSource> source) {
    SetSource(std::move(source));
}

void PerformanceFrequency::SetSource(std::shared_ptr<CounterSource> source) {
    std::lock_guard<std::mutex> lock(mutex_);
    source_ = source ? std::move(source) : std::make_shared<MonotonicCounter>();
    Calibrate();
    started = false;
    stallCount = 0;
}

// Shift the frequency right until it is below 2,000,000 counts per second, so that 32 bits of
// the shifted counter last long enough between wraps.
void PerformanceFrequency::Calibrate() {
    uint64_t frequency = source_->Frequency();
    if (frequency == 0) frequency = 1;
    shift = 0;
    while ((frequency >> shift) >= 2000000u)
        ++shift;
    secondsPerTick = 1.0 / static_cast<double>(frequency >> shift);
}

double PerformanceFrequency::Seconds() {
    std::lock_guard<std::mutex> lock(mutex_);
    uint32_t reading = static_cast<uint32_t>(source_->Counter() >> shift);
    if (!started) {
        started = true;
        lastReading = reading;
        return seconds;
    }
    if (reading > lastReading || lastReading - reading > kWrapThreshold) {
        seconds += static_cast<uint32_t>(reading - lastReading) * secondsPerTick;
    }
    lastReading = reading;
    // A counter that never moves would freeze everything that waits on time: after a long run
    // of readings without progress the clock is pushed on by a second.
    if (seconds == previousSeconds) {
        if (++stallCount > kStallLimit) {
            seconds += 1.0;
            stallCount = 0;
        }
    } else {
        stallCount = 0;
    }
    previousSeconds = seconds;
    return seconds;
}

uint32_t PerformanceFrequency::TickCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    uint64_t frequency = source_->Frequency();
    if (frequency == 0) frequency = 1;
    unsigned __int128 ms = static_cast<unsigned __int128>(source_->Counter()) * 1000u / frequency;
    return static_cast<uint32_t>(ms);
}

}  // namespace zentri
