#include "ui/pending_work.h"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

namespace zentri {
namespace {

std::atomic<int> workCount{0};

struct ProbeRegistry {
    std::mutex mutex;
    std::map<int, std::function<bool()>> probes;
    int nextId = 1;
};

ProbeRegistry& Registry() {
    static ProbeRegistry registry;
    return registry;
}

}  // namespace

void WorkStarted() {
    workCount.fetch_add(1);
}

void WorkFinished() {
    workCount.fetch_sub(1);
}

WorkProbe::WorkProbe(std::function<bool()> probe) {
    ProbeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    id_ = r.nextId++;
    r.probes.emplace(id_, std::move(probe));
}

WorkProbe::~WorkProbe() {
    if (!id_) return;
    ProbeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.probes.erase(id_);
}

WorkProbe::WorkProbe(WorkProbe&& other) noexcept : id_(std::exchange(other.id_, 0)) {}

WorkProbe& WorkProbe::operator=(WorkProbe&& other) noexcept {
    if (this != &other) {
        WorkProbe old(std::move(*this));
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

bool AnyWorkPending() {
    if (workCount.load() > 0) return true;
    // Probes run under the registry's lock, so a probe is never called after its handle was
    // destroyed.
    ProbeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto& [id, probe] : r.probes)
        if (probe && probe()) return true;
    return false;
}

}  // namespace zentri
