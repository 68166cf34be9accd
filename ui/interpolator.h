#pragma once
// Values between key states of an animation. Keys are strictly increasing in state; the number
// of states described is the last key's state plus one.

#include <cstddef>
#include <vector>

#include "ui/shared_object.h"

namespace zentri {

template <class T>
class Interpolator : public shared_object {
  public:
    struct KeyState {
        int state;
        T value;
        int span;  // state minus the previous key's state; 0 for the first key
    };

    ~Interpolator() override = default;

    // Ignored for a negative state or one not above the last key's.
    void AddKey(int state, T value) {
        if (state < 0) return;
        if (!keys.empty() && state <= keys.back().state) return;
        int span = keys.empty() ? 0 : state - keys.back().state;
        keys.push_back(KeyState{state, value, span});
    }
    void ClearKeys() { keys.clear(); }
    size_t KeyCount() const { return keys.size(); }
    const std::vector<KeyState>& Keys() const { return keys; }
    int StateCount() const { return keys.empty() ? 0 : keys.back().state + 1; }

    T ValueAt(int state) {
        if (keys.empty()) return T();
        if (keys.size() == 1) return keys[0].value;
        size_t i = 0;
        while (i + 1 < keys.size() && keys[i + 1].state <= state)
            ++i;
        if (i + 1 == keys.size() || state <= keys[i].state) return keys[i].value;
        return Interpolate(i, i + 1, state);
    }

  protected:
    // The value at `state`, which lies strictly between keys i and j = i + 1.
    virtual T Interpolate(size_t i, size_t j, int state) = 0;

    double Fraction(size_t i, size_t j, int state) const {
        return static_cast<double>(state - keys[i].state) / keys[j].span;
    }

    std::vector<KeyState> keys;
};

template <class T>
class LinearInterpolator : public Interpolator<T> {
  protected:
    T Interpolate(size_t i, size_t j, int state) override {
        double t = this->Fraction(i, j, state);
        const auto& k = this->keys;
        return static_cast<T>(k[i].value + (k[j].value - k[i].value) * t);
    }
};

// A smooth start and stop (Hermite basis without tangents).
template <class T>
class CubicInterpolator : public Interpolator<T> {
  protected:
    T Interpolate(size_t i, size_t j, int state) override {
        double t = this->Fraction(i, j, state);
        double t2 = t * t, t3 = t2 * t;
        const auto& k = this->keys;
        return static_cast<T>(k[i].value * (2 * t3 - 3 * t2 + 1) + k[j].value * (3 * t2 - 2 * t3));
    }
};

}  // namespace zentri
