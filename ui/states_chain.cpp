#include "ui/states_chain.h"

#include "ui/counted_ref.h"

namespace zentri {

void StatesChain::SetCount(int n) {
    count = n <= 0 ? 1 : n;
    current = 0;
}

bool StatesChain::SetState(int s) {
    if (locked || s < 0 || s >= count || driverCount > 1) return false;
    shared_ptr<StatesChain> keep = CountedRef(this);
    int from = current;
    current = s;
    if (!Apply(from, s, count)) return false;
    onStateChanged.Invoke(this, from, s, count);
    return true;
}

bool ParallelStatesChain::Apply(int from, int to, int n) {
    (void)from, (void)n;
    for (size_t i = 0; i < chains.size(); ++i) {
        shared_ptr<StatesChain> chain = chains[i];
        chain->SetState(to);
    }
    return true;
}

}  // namespace zentri
