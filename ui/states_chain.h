#pragma once
// A numbered sequence of states 0..count-1; moving the chain to a state applies that state to
// the objects it animates. Animators move a chain one state per frame.

#include <vector>

#include "ui/delegate.h"
#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/shared_object.h"

namespace zentri {

class StatesChain : public shared_object {
  public:
    using StateChangedEvent = Delegation_4<StatesChain*, int, int, int>;

    ~StatesChain() override = default;
    // Applies the move from `from` to `to`; false refuses it.
    virtual bool Apply(int from, int to, int count) = 0;

    // count = n (1 when n <= 0), current = 0; nothing is applied and nothing fires.
    void SetCount(int n);
    int Count() const { return count; }
    // False when locked, out of range, or driven by more than one animator at a time.
    bool SetState(int s);
    int State() const { return current; }
    void Lock() { locked = true; }
    void Unlock() { locked = false; }
    bool IsLocked() const { return locked; }
    StateChangedEvent& OnStateChanged() { return onStateChanged; }

    // Animators register themselves as drivers while they run.
    int DriverCount() const { return driverCount; }
    void AddDriver() { ++driverCount; }
    void RemoveDriver() { --driverCount; }

  protected:
    int current = 0;
    int count = 1;
    int driverCount = 0;
    StateChangedEvent onStateChanged;
    bool locked = false;
};

// Each state is a value computed by an interpolator and written through a property.
template <class T>
class ComplexStatesChain : public StatesChain {
  public:
    ComplexStatesChain() = default;
    ComplexStatesChain(shared_ptr<Interpolator<T>> interp, shared_ptr<Property<T>> prop)
        : interpolator(std::move(interp)), property(std::move(prop)) {}

    bool Apply(int from, int to, int n) override {
        (void)from, (void)n;
        if (property && interpolator) property->Set(interpolator->ValueAt(to));
        return true;
    }

    // Adds a key so that the run goes to `value` at `state`. The first key also fixes state 0
    // at the property's current value, so the animation starts from where the object is.
    void SetTarget(int state, T value) {
        if (!property || !interpolator) return;
        if (interpolator->KeyCount() == 0) interpolator->AddKey(0, property->Get());
        interpolator->AddKey(state, value);
        SetCount(interpolator->StateCount());
    }
    // Clears the keys and leaves one state, ready for new targets.
    void Reset() {
        if (interpolator) interpolator->ClearKeys();
        SetCount(1);
    }

    const shared_ptr<Interpolator<T>>& GetInterpolator() const { return interpolator; }
    void SetInterpolator(shared_ptr<Interpolator<T>> value) { interpolator = std::move(value); }
    const shared_ptr<Property<T>>& GetProperty() const { return property; }
    void SetProperty(shared_ptr<Property<T>> value) { property = std::move(value); }

  protected:
    shared_ptr<Interpolator<T>> interpolator;
    shared_ptr<Property<T>> property;
};

// Moves every child chain to the same state, in order.
class ParallelStatesChain : public StatesChain {
  public:
    bool Apply(int from, int to, int n) override;
    void AddChain(const shared_ptr<StatesChain>& chain) {
        if (chain) chains.push_back(chain);
    }
    const std::vector<shared_ptr<StatesChain>>& Chains() const { return chains; }

  protected:
    std::vector<shared_ptr<StatesChain>> chains;
};

}  // namespace zentri
